#include "WineScreenDpi.h"

#include "TestSupport.h"
#include "TxHandles.h"

namespace
{
constexpr char DESKTOP_KEY[] = "Control Panel\\Desktop";
constexpr char LOG_PIXELS_VALUE[] = "LogPixels";

// The thread's earlier DPI context; null when it cannot be set.
DPI_AWARENESS_CONTEXT SetThreadContext(DPI_AWARENESS_CONTEXT hContext)
{
    // Looked up at run time: the build targets Windows 7, which has no DPI
    // per thread.
    using SetContextProc = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE hUser = GetModuleHandleA("user32.dll");
    auto pfnSetContext = hUser != nullptr
                             ? reinterpret_cast<SetContextProc>(reinterpret_cast<void*>(
                                   GetProcAddress(hUser, "SetThreadDpiAwarenessContext")))
                             : nullptr;
    return pfnSetContext != nullptr ? pfnSetContext(hContext) : nullptr;
}

void SetLogPixels(HKEY hKey, DWORD dwDpi)
{
    RegSetValueExA(hKey, LOG_PIXELS_VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwDpi),
                   sizeof(dwDpi));
}
} // namespace

WineScreenDpi::WineScreenDpi(DWORD dwDpi) : m_bHadValue(false), m_dwOldValue(0)
{
    TxRegKey key(OpenUserKeyForChange(DESKTOP_KEY));
    if (!key.IsValid())
        return;
    DWORD dwOld = 0;
    DWORD dwSize = sizeof(dwOld);
    DWORD dwType = 0;
    if (RegQueryValueExA(key.Get(), LOG_PIXELS_VALUE, nullptr, &dwType,
                         reinterpret_cast<BYTE*>(&dwOld), &dwSize) == ERROR_SUCCESS &&
        dwType == REG_DWORD)
    {
        m_bHadValue = true;
        m_dwOldValue = dwOld;
    }
    SetLogPixels(key.Get(), dwDpi);
}

WineScreenDpi::~WineScreenDpi()
{
    TxRegKey key(OpenUserKeyForChange(DESKTOP_KEY));
    if (!key.IsValid())
        return;
    if (m_bHadValue)
        SetLogPixels(key.Get(), m_dwOldValue);
    else
        RegDeleteValueA(key.Get(), LOG_PIXELS_VALUE);
}

ScreenPixelsView::ScreenPixelsView()
    : m_hOldContext(SetThreadContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE))
{
}

ScreenPixelsView::~ScreenPixelsView()
{
    if (m_hOldContext != nullptr)
        SetThreadContext(m_hOldContext);
}
