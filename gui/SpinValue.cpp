#include "SpinValue.h"

#include <climits>

int ClampSpinValue(int iValue, int iMin, int iMax)
{
    if (iValue > iMax)
        iValue = iMax;
    if (iValue < iMin)
        iValue = iMin;
    return iValue;
}

int SpinValueFromText(const char* pszText, int iMin, int iMax)
{
    if (pszText == nullptr)
        return ClampSpinValue(iMin, iMin, iMax);
    const char* p = pszText;
    while (*p == ' ')
        ++p;
    bool bNegative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return ClampSpinValue(iMin, iMin, iMax);
    long long llValue = 0;
    // Saturate instead of overflowing; the clamp does the rest.
    for (; *p >= '0' && *p <= '9' && llValue <= INT_MAX; ++p)
        llValue = llValue * 10 + (*p - '0');
    if (bNegative)
        llValue = -llValue;
    if (llValue > INT_MAX)
        llValue = INT_MAX;
    if (llValue < INT_MIN)
        llValue = INT_MIN;
    return ClampSpinValue(static_cast<int>(llValue), iMin, iMax);
}
