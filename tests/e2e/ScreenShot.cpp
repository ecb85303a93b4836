#include "ScreenShot.h"

#include "TxGdiHandles.h"
#include "TxHandles.h"

#include <vector>

namespace
{
bool WriteBmp(const std::string& sPath, const BITMAPINFOHEADER& header, const void* pBits,
              DWORD cbBits)
{
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + cbBits;
    TxFileHandle hFile(CreateFileA(sPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!hFile.IsValid())
        return false;
    DWORD dw = 0;
    return WriteFile(hFile.Get(), &file, sizeof(file), &dw, nullptr) &&
           WriteFile(hFile.Get(), &header, sizeof(header), &dw, nullptr) &&
           WriteFile(hFile.Get(), pBits, cbBits, &dw, nullptr) && dw == cbBits;
}
} // namespace

bool SaveScreenArea(const RECT& area, const std::string& sPath)
{
    int iWidth = area.right - area.left;
    int iHeight = area.bottom - area.top;
    if (iWidth <= 0 || iHeight <= 0)
        return false;
    TxWindowDc screen(nullptr);
    TxMemoryDc memory(CreateCompatibleDC(screen.Get()));
    if (screen.Get() == nullptr || !memory.IsValid())
        return false;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = iWidth;
    header.biHeight = iHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    void* pBits = nullptr;
    TxBitmap bitmap(CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(&header),
                                     DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!bitmap.IsValid() || pBits == nullptr)
        return false;
    {
        TxSelectObject select(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, iWidth, iHeight, screen.Get(), area.left, area.top,
                    SRCCOPY | CAPTUREBLT))
            return false;
    }
    GdiFlush();
    DWORD cbRow = ((static_cast<DWORD>(iWidth) * 3 + 3) / 4) * 4;
    return WriteBmp(sPath, header, pBits, cbRow * static_cast<DWORD>(iHeight));
}

bool SaveWindowShot(HWND hWnd, const std::string& sPath)
{
    RECT rc;
    return GetWindowRect(hWnd, &rc) && SaveScreenArea(rc, sPath);
}

bool SaveWholeScreen(const std::string& sPath)
{
    RECT rc = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return SaveScreenArea(rc, sPath);
}
