#include "WineScreenDpi.h"

namespace
{
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

} // namespace

ScreenPixelsView::ScreenPixelsView()
    : m_hOldContext(SetThreadContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE))
{
}

ScreenPixelsView::~ScreenPixelsView()
{
    if (m_hOldContext != nullptr)
        SetThreadContext(m_hOldContext);
}
