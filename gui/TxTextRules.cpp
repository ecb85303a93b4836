#include "TxTextRules.h"

#include "TxDpi.h"

#include <algorithm>

namespace
{
bool IsClass(const char* pszClass, const char* pszName)
{
    return lstrcmpiA(pszClass, pszName) == 0;
}
} // namespace

TxTextRule TextRuleOf(HWND hWnd, LONG_PTR lStyle, HDC hDc, int iDpi)
{
    TxTextRule rule;
    char szClass[64] = "";
    if (GetClassNameA(hWnd, szClass, sizeof(szClass)) == 0)
        return rule;
    if (IsClass(szClass, "Static"))
    {
        // A label that shortens its text itself never needs more room.
        if ((lStyle & SS_ELLIPSISMASK) != 0)
            return rule;
        LONG_PTR lType = lStyle & SS_TYPEMASK;
        UINT uPrefix = (lStyle & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
        if (lType == SS_LEFTNOWORDWRAP)
            rule = {true, uPrefix | DT_EXPANDTABS, 0, 0};
        else if (lType == SS_LEFT || lType == SS_CENTER || lType == SS_RIGHT)
            rule = {true, uPrefix | DT_EXPANDTABS | DT_WORDBREAK, 0, 0};
        return rule;
    }
    if (IsClass(szClass, "Button"))
    {
        LONG_PTR lType = lStyle & BS_TYPEMASK;
        UINT uLines = (lStyle & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE;
        switch (lType)
        {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            // The raised edge, the default button's outline and the focus
            // rectangle; visual styles keep the same margins.
            rule = {true, uLines, 2 * ScaleToDpi(4, iDpi), 2 * ScaleToDpi(4, iDpi)};
            break;
        case BS_GROUPBOX:
            // The caption starts 12 pixels in with visual styles (8 in the
            // classic look) and keeps clear of the frame on the right.
            rule = {true, DT_SINGLELINE, ScaleToDpi(12, iDpi) + ScaleToDpi(3, iDpi), 0};
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
        {
            // The box, the gap before the text (6 pixels with visual styles,
            // half a digit and a margin in the classic look) and the focus
            // rectangle around the text.
            INT iDigit = 0;
            if (!GetCharWidth32A(hDc, '0', '0', &iDigit))
                iDigit = ScaleToDpi(6, iDpi);
            int iGap = std::max(ScaleToDpi(6, iDpi), iDigit / 2 + 1);
            rule = {true, uLines, ScaleToDpi(13, iDpi) + iGap + 2, 2};
            break;
        }
        default:
            break;
        }
        return rule;
    }
    if (IsClass(szClass, "Edit") && (lStyle & ES_MULTILINE) != 0 && (lStyle & WS_VSCROLL) == 0)
    {
        DWORD dwMargins = static_cast<DWORD>(SendMessageA(hWnd, EM_GETMARGINS, 0, 0));
        rule = {true, DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_EXPANDTABS,
                LOWORD(dwMargins) + HIWORD(dwMargins), 0};
    }
    return rule;
}

SIZE MeasureText(HDC hDc, const char* pszText, UINT uFormat, int iWidth)
{
    RECT rc = {0, 0, std::max(iWidth, 1), 0};
    // An empty text still takes one line.
    DrawTextA(hDc, pszText != nullptr && *pszText != 0 ? pszText : " ", -1, &rc,
              uFormat | DT_CALCRECT);
    SIZE size = {rc.right - rc.left, rc.bottom - rc.top};
    return size;
}

TxFitKind FitKindOf(HWND hWnd, LONG_PTR lStyle, const TxTextRule& rule)
{
    char szClass[64] = "";
    if (!rule.bMeasured || GetClassNameA(hWnd, szClass, sizeof(szClass)) == 0)
        return TxFitKind::Fixed;
    if (!IsClass(szClass, "Button"))
        return IsClass(szClass, "Static") && (lStyle & SS_TYPEMASK) == SS_LEFTNOWORDWRAP
                   ? TxFitKind::Line
                   : TxFitKind::Text;
    return (lStyle & BS_TYPEMASK) == BS_GROUPBOX ? TxFitKind::Group : TxFitKind::Choice;
}

bool ChoiceWraps(LONG_PTR lStyle)
{
    LONG_PTR lType = lStyle & BS_TYPEMASK;
    return lType != BS_PUSHBUTTON && lType != BS_DEFPUSHBUTTON;
}

LONG_PTR FittedStyle(TxFitKind kind, LONG_PTR lDesign, LONG_PTR lNow, bool bWrapped)
{
    if (kind == TxFitKind::Line)
    {
        LONG_PTR lType = bWrapped ? SS_LEFT : (lDesign & SS_TYPEMASK);
        return (lNow & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | lType;
    }
    if (kind == TxFitKind::Choice)
    {
        LONG_PTR lLines = bWrapped ? BS_MULTILINE : (lDesign & BS_MULTILINE);
        return (lNow & ~static_cast<LONG_PTR>(BS_MULTILINE)) | lLines;
    }
    return lNow;
}
