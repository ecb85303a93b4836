#include "LogoPicture.h"

#include "CLog.h"
#include "TxDpi.h"
#include "TxFont.h"

namespace
{
// The picture is drawn for 96 DPI and scaled point by point: GDI draws it
// sharp at any DPI.
RECT ScaledRect(int iLeft, int iTop, int iRight, int iBottom)
{
    return {Scaled(iLeft), Scaled(iTop), Scaled(iRight), Scaled(iBottom)};
}

void FillRectColour(HDC hDc, int iLeft, int iTop, int iRight, int iBottom, COLORREF colour)
{
    RECT rc = ScaledRect(iLeft, iTop, iRight, iBottom);
    SetDCBrushColor(hDc, colour);
    FillRect(hDc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

template <size_t N> void ScaledPolygon(HDC hDc, const POINT (&points)[N])
{
    POINT scaled[N];
    for (size_t i = 0; i < N; ++i)
        scaled[i] = {Scaled(points[i].x), Scaled(points[i].y)};
    Polygon(hDc, scaled, static_cast<int>(N));
}

void DrawSky(HDC hDc)
{
    // A sky from deep to light blue in bands of 4 pixels.
    for (int y = 0; y < 112; y += 4)
        FillRectColour(hDc, 0, y, LOGO_WIDTH, y + 4, RGB(20 + y, 60 + y, 140 + y));
}

void DrawSunAndHills(HDC hDc)
{
    TxSelectObject pen(hDc, GetStockObject(NULL_PEN));
    TxSelectObject brush(hDc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(hDc, RGB(255, 214, 64));
    Ellipse(hDc, Scaled(128), Scaled(18), Scaled(172), Scaled(62));
    SetDCBrushColor(hDc, RGB(40, 120, 60));
    const POINT backHills[] = {{0, 96},   {50, 70},   {110, 92}, {160, 74},
                               {200, 90}, {200, 120}, {0, 120}};
    ScaledPolygon(hDc, backHills);
    SetDCBrushColor(hDc, RGB(24, 90, 40));
    const POINT frontHills[] = {{0, 112}, {70, 94}, {140, 110}, {200, 100}, {200, 124}, {0, 124}};
    ScaledPolygon(hDc, frontHills);
}

void DrawNames(HDC hDc)
{
    FillRectColour(hDc, 0, 118, LOGO_WIDTH, LOGO_HEIGHT, RGB(16, 24, 64));
    SetBkMode(hDc, TRANSPARENT);
    TxFont title("Arial", 30, true);
    TxFont maker("Arial", 12);
    RECT rcTitle = ScaledRect(0, 118, LOGO_WIDTH, 152);
    SetTextColor(hDc, RGB(255, 255, 255));
    {
        TxSelectObject font(hDc, title.Handle());
        DrawTextA(hDc, "Quorvane", -1, &rcTitle, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    RECT rcMaker = ScaledRect(0, 150, LOGO_WIDTH, LOGO_HEIGHT - 2);
    SetTextColor(hDc, RGB(160, 190, 255));
    TxSelectObject font(hDc, maker.Handle());
    DrawTextA(hDc, "Kestov", -1, &rcMaker, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawFrame(HDC hDc)
{
    TxSelectObject brush(hDc, GetStockObject(NULL_BRUSH));
    TxSelectObject pen(hDc, GetStockObject(WHITE_PEN));
    Rectangle(hDc, 0, 0, Scaled(LOGO_WIDTH), Scaled(LOGO_HEIGHT));
}
} // namespace

TxBitmap CreateLogoBitmap()
{
    int iWidth = Scaled(LOGO_WIDTH);
    int iHeight = Scaled(LOGO_HEIGHT);
    TxWindowDc screen(nullptr);
    TxMemoryDc memory(CreateCompatibleDC(screen.Get()));
    TxBitmap bitmap(CreateCompatibleBitmap(screen.Get(), iWidth, iHeight));
    if (!memory.IsValid() || !bitmap.IsValid())
    {
        TX_LOG("CreateLogoBitmap - cannot create the bitmap: %dx%d", iWidth, iHeight);
        return TxBitmap();
    }
    {
        TxSelectObject select(memory.Get(), bitmap.Get());
        DrawSky(memory.Get());
        DrawSunAndHills(memory.Get());
        DrawNames(memory.Get());
        DrawFrame(memory.Get());
    }
    return bitmap;
}
