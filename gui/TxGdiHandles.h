#pragma once

#include "TxHandles.h"

#include <windows.h>

// Owning wrappers for GDI objects and memory device contexts, on the same
// template as the kernel handles.
template <class T> struct TxGdiObjectTraits
{
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

struct TxMemoryDcTraits
{
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};

using TxBitmap = TxUniqueResource<TxGdiObjectTraits<HBITMAP>>;
using TxBrush = TxUniqueResource<TxGdiObjectTraits<HBRUSH>>;
using TxPen = TxUniqueResource<TxGdiObjectTraits<HPEN>>;
using TxFontHandle = TxUniqueResource<TxGdiObjectTraits<HFONT>>;
using TxMemoryDc = TxUniqueResource<TxMemoryDcTraits>;

// A window's device context from GetDC, released at the end of the scope.
class TxWindowDc
{
public:
    explicit TxWindowDc(HWND hWnd) : m_hWnd(hWnd), m_hDc(GetDC(hWnd)) {}
    ~TxWindowDc()
    {
        if (m_hDc != nullptr)
            ReleaseDC(m_hWnd, m_hDc);
    }
    TxWindowDc(const TxWindowDc&) = delete;
    TxWindowDc& operator=(const TxWindowDc&) = delete;

    HDC Get() const { return m_hDc; }

private:
    HWND m_hWnd;
    HDC m_hDc;
};

// Selects an object into a DC for the scope and puts the old one back.
class TxSelectObject
{
public:
    TxSelectObject(HDC hDc, HGDIOBJ hObject) : m_hDc(hDc), m_hOld(SelectObject(hDc, hObject)) {}
    ~TxSelectObject()
    {
        if (m_hOld != nullptr && m_hOld != HGDI_ERROR)
            SelectObject(m_hDc, m_hOld);
    }
    TxSelectObject(const TxSelectObject&) = delete;
    TxSelectObject& operator=(const TxSelectObject&) = delete;

private:
    HDC m_hDc;
    HGDIOBJ m_hOld;
};
