#pragma once

// The forms' positions, sizes and font heights are written for a screen of
// 96 DPI. The gui layer turns them into the screen's pixels here, so that
// one rounding rule holds for every control, font and picture: controls and
// forms take 96-DPI values unless a member's name ends in "Px", which takes
// or returns the screen's pixels.

constexpr int DESIGN_DPI = 96;

// iValue, given at 96 DPI, in pixels at iDpi, rounded to the nearest pixel
// as MulDiv rounds (a half away from zero).
int ScaleToDpi(int iValue, int iDpi);
// The system DPI (the screen's LOGPIXELSY), read once; 96 when it cannot be
// read.
int SystemDpi();
// iValue, given at 96 DPI, in the screen's pixels.
inline int Scaled(int iValue)
{
    return ScaleToDpi(iValue, SystemDpi());
}
