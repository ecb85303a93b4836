#pragma once

// The spin edit's number rules, apart from any window.

// iValue held within iMin ... iMax (iMin wins when the range is empty).
int ClampSpinValue(int iValue, int iMin, int iMax);
// The number at the start of pszText (blanks and one sign allowed), held
// within the range; iMin when the text holds no number.
int SpinValueFromText(const char* pszText, int iMin, int iMax);
