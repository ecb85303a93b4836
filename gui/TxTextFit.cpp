#include "TxTextFit.h"

#include "CLog.h"
#include "TxControl.h"
#include "TxDpi.h"
#include "TxGdiHandles.h"
#include "TxString.h"

#include <algorithm>
#include <numeric>

namespace
{
int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

bool Across(int iStart1, int iEnd1, int iStart2, int iEnd2)
{
    return iStart1 < iEnd2 && iStart2 < iEnd1;
}

// The height an item's text needs at a width; its own height when it has no
// text to measure. The test before the call keeps the empty call's throw out.
int NeededHeight(const TxFitItem& item, const RECT& rc, int iWidth)
{
    if (!item.HeightAt)
        return Height(rc);
    return item.HeightAt(iWidth);
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class CFitLayout
{
public:
    CFitLayout(const std::vector<TxFitItem>& items, const RECT& rcClient, int iGap)
        : m_Items(items), m_rcClient(rcClient), m_iGap(iGap)
    {
        for (const TxFitItem& item : items)
            m_Rc.push_back(item.rc);
    }

    std::vector<RECT> Run()
    {
        // Top to bottom, so that what an item pushes down is fitted after it.
        std::vector<size_t> order(m_Items.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::stable_sort(order.begin(), order.end(),
                         [this](size_t a, size_t b)
                         {
                             const RECT& ra = m_Items[a].rc;
                             const RECT& rb = m_Items[b].rc;
                             return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
                         });
        for (size_t i : order)
            Fit(i);
        return m_Rc;
    }

private:
    // A group box holds its members: neither is in the other's way.
    bool Blocks(size_t i, size_t j) const
    {
        return i != j && m_Items[i].iGroup != static_cast<int>(j) &&
               m_Items[j].iGroup != static_cast<int>(i);
    }

    bool IsMemberOf(size_t j, size_t iGroup) const
    {
        return m_Items[j].iGroup == static_cast<int>(iGroup);
    }

    int RightLimit(size_t i) const
    {
        const RECT& rc = m_Rc[i];
        int iLimit = m_rcClient.right - m_iGap;
        int iGroup = m_Items[i].iGroup;
        if (iGroup >= 0)
        {
            // As far in from the right as from the left.
            const RECT& rcGroup = m_Rc[static_cast<size_t>(iGroup)];
            iLimit = rcGroup.right - (rc.left - rcGroup.left);
        }
        for (size_t j = 0; j < m_Rc.size(); ++j)
        {
            const RECT& o = m_Rc[j];
            if (Blocks(i, j) && Across(rc.top, rc.bottom, o.top, o.bottom) && o.left > rc.left)
                iLimit = std::min(iLimit, static_cast<int>(o.left - m_iGap));
        }
        return iLimit;
    }

    int FreeBelow(size_t i, const std::vector<bool>& skip) const
    {
        const RECT& rc = m_Rc[i];
        int iLimit = m_rcClient.bottom - m_iGap;
        for (size_t j = 0; j < m_Rc.size(); ++j)
        {
            const RECT& o = m_Rc[j];
            if (skip[j] || !Blocks(i, j) || !Across(rc.left, rc.right, o.left, o.right) ||
                o.top < rc.bottom)
                continue;
            iLimit = std::min(iLimit, static_cast<int>(o.top - m_iGap));
        }
        return std::max(0, static_cast<int>(iLimit - rc.bottom));
    }

    int FreeAbove(size_t i, const std::vector<bool>& skip) const
    {
        const RECT& rc = m_Rc[i];
        int iLimit = m_rcClient.top + m_iGap;
        for (size_t j = 0; j < m_Rc.size(); ++j)
        {
            const RECT& o = m_Rc[j];
            if (skip[j] || !Blocks(i, j) || !Across(rc.left, rc.right, o.left, o.right) ||
                o.bottom > rc.top)
                continue;
            iLimit = std::max(iLimit, static_cast<int>(o.bottom + m_iGap));
        }
        return std::max(0, static_cast<int>(rc.top - iLimit));
    }

    // Moves an item, and a group box with its members.
    void Move(size_t i, int iBy)
    {
        for (size_t j = 0; j < m_Rc.size(); ++j)
            if (j == i || IsMemberOf(j, i))
                OffsetRect(&m_Rc[j], 0, iBy);
    }

    // Moves the controls below i in its column (above it when bUp) away by
    // up to iWanted, as far as the anchored controls and the client area let
    // them. Returns how far.
    int Push(size_t i, int iWanted, bool bUp)
    {
        std::vector<bool> moved(m_Rc.size(), false);
        bool bFound = true;
        while (bFound)
        {
            bFound = false;
            for (size_t j = 0; j < m_Rc.size(); ++j)
            {
                if (moved[j] || j == i || m_Items[j].bAnchored || !Blocks(i, j))
                    continue;
                for (size_t s = 0; s < m_Rc.size(); ++s)
                {
                    if ((s != i && !moved[s]) || !Blocks(s, j))
                        continue;
                    const RECT& rs = m_Rc[s];
                    const RECT& rj = m_Rc[j];
                    bool bBeyond = bUp ? rj.bottom <= rs.top : rj.top >= rs.bottom;
                    if (Across(rs.left, rs.right, rj.left, rj.right) && bBeyond)
                    {
                        MarkMoved(j, moved);
                        bFound = true;
                        break;
                    }
                }
            }
        }
        std::vector<bool> skip = moved;
        skip[i] = true;
        int iBy = iWanted;
        bool bAny = false;
        for (size_t j = 0; j < m_Rc.size(); ++j)
        {
            if (!moved[j])
                continue;
            if (m_Items[j].bAnchored)
                return 0;
            bAny = true;
            iBy = std::min(iBy, bUp ? FreeAbove(j, skip) : FreeBelow(j, skip));
        }
        if (!bAny || iBy <= 0)
            return 0;
        for (size_t j = 0; j < m_Rc.size(); ++j)
            if (moved[j])
                OffsetRect(&m_Rc[j], 0, bUp ? -iBy : iBy);
        return iBy;
    }

    // A group moves with its members, a member with its group.
    void MarkMoved(size_t j, std::vector<bool>& moved) const
    {
        int iGroup = m_Items[j].iGroup;
        size_t iBox = iGroup >= 0 ? static_cast<size_t>(iGroup) : j;
        moved[iBox] = true;
        for (size_t k = 0; k < m_Rc.size(); ++k)
            if (IsMemberOf(k, iBox))
                moved[k] = true;
    }

    // Grows a box (not a group member) by up to iWanted: into the free space
    // below, by pushing the controls below down, into the free space above,
    // by pushing the controls above up. Returns how much it grew.
    int GrowBox(size_t i, int iWanted)
    {
        std::vector<bool> none(m_Rc.size(), false);
        int iGrown = std::min(iWanted, FreeBelow(i, none));
        m_Rc[i].bottom += iGrown;
        if (iGrown < iWanted)
        {
            int iPushed = Push(i, iWanted - iGrown, false);
            m_Rc[i].bottom += iPushed;
            iGrown += iPushed;
        }
        if (m_Items[i].bAnchored)
            return iGrown;
        if (iGrown < iWanted)
            iGrown += GrowUp(i, std::min(iWanted - iGrown, FreeAbove(i, none)));
        if (iGrown < iWanted)
            iGrown += GrowUp(i, Push(i, iWanted - iGrown, true));
        return iGrown;
    }

    int GrowUp(size_t i, int iBy)
    {
        Move(i, -iBy);
        m_Rc[i].bottom += iBy;
        return iBy;
    }

    // Returns how much of iWanted could not be had.
    int Grow(size_t i, int iWanted)
    {
        int iGroup = m_Items[i].iGroup;
        if (iGroup < 0)
            return iWanted - GrowBox(i, iWanted);
        size_t iBox = static_cast<size_t>(iGroup);
        int iGrown = GrowBox(iBox, iWanted);
        // The members below make way inside the grown box.
        int iBottom = m_Rc[i].bottom;
        for (size_t j = 0; j < m_Rc.size(); ++j)
            if (j != i && IsMemberOf(j, iBox) && m_Rc[j].top >= iBottom)
                OffsetRect(&m_Rc[j], 0, iGrown);
        m_Rc[i].bottom += iGrown;
        return iWanted - iGrown;
    }

    void Fit(size_t i)
    {
        const TxFitItem& item = m_Items[i];
        if (item.kind == TxFitKind::Fixed)
            return;
        RECT& rc = m_Rc[i];
        if (item.iLineWidth > 0 && item.kind != TxFitKind::Text)
        {
            int iWidth = std::min(item.iLineWidth, static_cast<int>(RightLimit(i) - rc.left));
            // A line shortens where it would run into something; the others
            // only ever widen.
            bool bShorten = item.kind == TxFitKind::Line && iWidth > 0;
            if (iWidth > Width(rc) || (bShorten && iWidth < Width(rc)))
                rc.right = rc.left + iWidth;
        }
        if (!item.HeightAt)
            return;
        int iMissing = NeededHeight(item, rc, Width(rc)) - Height(rc);
        if (iMissing <= 0)
            return;
        iMissing = Grow(i, iMissing);
        if (iMissing <= 0 || item.kind != TxFitKind::Text)
            return;
        // Still short: the text wraps into free space on its right.
        int iLimit = RightLimit(i);
        if (iLimit <= rc.right)
            return;
        rc.right = iLimit;
        iMissing = NeededHeight(item, rc, Width(rc)) - Height(rc);
        if (iMissing > 0)
            Grow(i, iMissing);
    }

    const std::vector<TxFitItem>& m_Items;
    RECT m_rcClient;
    int m_iGap;
    std::vector<RECT> m_Rc;
};

bool IsClass(const char* pszClass, const char* pszName)
{
    return lstrcmpiA(pszClass, pszName) == 0;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// One control as the pass sees it.
struct Child
{
    HWND hWnd;
    HFONT hFont;
    TxString sText;
    TxTextRule rule;
    LONG_PTR lDesignStyle;
};
} // namespace

std::vector<RECT> FitTextLayout(const std::vector<TxFitItem>& items, const RECT& rcClient, int iGap)
{
    return CFitLayout(items, rcClient, iGap).Run();
}

TxTextRule TextRuleOf(HWND hWnd, LONG_PTR lStyle, HDC hDc, int iDpi)
{
    TxTextRule rule;
    char szClass[64] = "";
    if (GetClassNameA(hWnd, szClass, sizeof(szClass)) == 0)
        return rule;
    if (IsClass(szClass, "Static"))
    {
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
            // The raised frame and the focus rectangle.
            rule = {true, uLines, 6, 4};
            break;
        case BS_GROUPBOX:
            rule = {true, DT_SINGLELINE, 14, 0};
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
        {
            // The box, then half a digit's width before the text, and the
            // focus rectangle around the text.
            INT iDigit = 0;
            if (!GetCharWidth32A(hDc, '0', '0', &iDigit))
                iDigit = ScaleToDpi(6, iDpi);
            rule = {true, uLines, ScaleToDpi(12, iDpi) + 1 + iDigit / 2 + 2, 2};
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

TxTextFitter::Placed& TxTextFitter::Remember(HWND hWnd, const RECT& rcNow, LONG_PTR lStyleNow)
{
    for (Placed& placed : m_Placed)
    {
        if (placed.hWnd != hWnd)
            continue;
        // What the form changed since the last pass is its new layout.
        if (rcNow.left != placed.rcApplied.left || rcNow.top != placed.rcApplied.top)
            OffsetRect(&placed.rcDesign, rcNow.left - placed.rcDesign.left,
                       rcNow.top - placed.rcDesign.top);
        if (Width(rcNow) != Width(placed.rcApplied) || Height(rcNow) != Height(placed.rcApplied))
        {
            placed.rcDesign.right = placed.rcDesign.left + Width(rcNow);
            placed.rcDesign.bottom = placed.rcDesign.top + Height(rcNow);
        }
        if (lStyleNow != placed.lAppliedStyle)
            placed.lDesignStyle = lStyleNow;
        return placed;
    }
    m_Placed.push_back({hWnd, rcNow, rcNow, lStyleNow, lStyleNow});
    return m_Placed.back();
}

void TxTextFitter::Fit(HWND hForm)
{
    std::vector<HWND> windows;
    for (HWND hChild = GetWindow(hForm, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
        windows.push_back(hChild);
    // Controls made anew (a radio group's items) start from their own place.
    m_Placed.erase(std::remove_if(m_Placed.begin(), m_Placed.end(),
                                  [&windows](const Placed& placed) {
                                      return std::find(windows.begin(), windows.end(),
                                                       placed.hWnd) == windows.end();
                                  }),
                   m_Placed.end());

    TxWindowDc dc(hForm);
    if (dc.Get() == nullptr)
    {
        TX_LOG("TxTextFitter::Fit - GetDC failed: error=%lu", GetLastError());
        return;
    }
    int iDpi = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    std::vector<Child> children;
    std::vector<TxFitItem> items;
    for (HWND hWnd : windows)
    {
        const Placed& placed =
            Remember(hWnd, TxRectInParent(hWnd, hForm), GetWindowLongPtrA(hWnd, GWL_STYLE));
        Child child = {hWnd, reinterpret_cast<HFONT>(SendMessageA(hWnd, WM_GETFONT, 0, 0)),
                       TxWindowText(hWnd), TxTextRule(), placed.lDesignStyle};
        TxFitItem item;
        item.rc = placed.rcDesign;
        item.bAnchored = std::find(m_Anchored.begin(), m_Anchored.end(), hWnd) != m_Anchored.end();
        {
            // The rule of the control as the form made it.
            TxSelectObject font(dc.Get(),
                                child.hFont != nullptr ? child.hFont : GetStockObject(SYSTEM_FONT));
            child.rule = TextRuleOf(hWnd, placed.lDesignStyle, dc.Get(), iDpi);
        }
        children.push_back(child);
        items.push_back(item);
    }

    // Kinds, one-line widths and the height each text needs at a width.
    for (size_t i = 0; i < children.size(); ++i)
    {
        const Child& child = children[i];
        TxFitItem& item = items[i];
        if (!child.rule.bMeasured)
            continue;
        char szClass[64] = "";
        GetClassNameA(child.hWnd, szClass, sizeof(szClass));
        LONG_PTR lStyle = child.lDesignStyle;
        bool bStatic = IsClass(szClass, "Static");
        bool bButton = IsClass(szClass, "Button");
        LONG_PTR lButtonType = lStyle & BS_TYPEMASK;
        HFONT hFont = child.hFont;
        TxString sText = child.sText;
        TxTextRule rule = child.rule;
        auto measure = [hForm, hFont, sText](UINT uFormat, int iWidth)
        {
            TxWindowDc dcMeasure(hForm);
            TxSelectObject font(dcMeasure.Get(),
                                hFont != nullptr ? hFont : GetStockObject(SYSTEM_FONT));
            return MeasureText(dcMeasure.Get(), sText.GetText(), uFormat, iWidth);
        };
        SIZE line = measure(rule.uFormat & ~DT_WORDBREAK, 0);
        if (bStatic && (lStyle & SS_TYPEMASK) == SS_LEFTNOWORDWRAP)
        {
            item.kind = TxFitKind::Line;
            // Sized to its text by the form; measured here again, so that a
            // wrapped line gets its own size back when its text is short again.
            item.rc.right = item.rc.left + line.cx;
            item.rc.bottom = item.rc.top + line.cy;
            item.iLineWidth = static_cast<int>(line.cx);
            UINT uWrap = rule.uFormat | DT_WORDBREAK;
            item.HeightAt = [measure, uWrap, line](int iWidth) -> int
            { return static_cast<int>(iWidth >= line.cx ? line.cy : measure(uWrap, iWidth).cy); };
        }
        else if (!bButton)
        {
            // A wrapping label, or a memo without a scroll bar.
            item.kind = TxFitKind::Text;
            UINT uFormat = rule.uFormat;
            int iChrome = rule.iChromeWidth;
            item.HeightAt = [measure, uFormat, iChrome](int iWidth) -> int
            { return static_cast<int>(measure(uFormat, iWidth - iChrome).cy); };
        }
        else if (lButtonType == BS_GROUPBOX)
        {
            item.kind = TxFitKind::Group;
            item.iLineWidth = static_cast<int>(line.cx) + rule.iChromeWidth;
        }
        else if (lButtonType == BS_PUSHBUTTON || lButtonType == BS_DEFPUSHBUTTON)
        {
            // A button widens to its text where there is room; it never wraps.
            item.kind = TxFitKind::Choice;
            item.iLineWidth = static_cast<int>(line.cx) + rule.iChromeWidth;
        }
        else
        {
            item.kind = TxFitKind::Choice;
            item.iLineWidth = static_cast<int>(line.cx) + rule.iChromeWidth;
            int iDesignHeight = Height(item.rc);
            UINT uWrap = (rule.uFormat & ~DT_SINGLELINE) | DT_WORDBREAK;
            item.HeightAt = [measure, uWrap, rule, line, iDesignHeight](int iWidth) -> int
            {
                if (iWidth >= line.cx + rule.iChromeWidth)
                    return iDesignHeight;
                return static_cast<int>(measure(uWrap, iWidth - rule.iChromeWidth).cy) +
                       rule.iChromeHeight;
            };
        }
    }
    // Members of a group box lie inside it.
    for (size_t i = 0; i < items.size(); ++i)
    {
        if (items[i].kind != TxFitKind::Group)
            continue;
        for (size_t j = 0; j < items.size(); ++j)
            if (j != i && items[j].iGroup < 0 && Inside(items[j].rc, items[i].rc))
                items[j].iGroup = static_cast<int>(i);
    }

    RECT rcClient = {0, 0, 0, 0};
    GetClientRect(hForm, &rcClient);
    if (m_Area.cx > 0)
    {
        rcClient.right = std::min(rcClient.right, static_cast<LONG>(ScaleToDpi(m_Area.cx, iDpi)));
        rcClient.bottom = std::min(rcClient.bottom, static_cast<LONG>(ScaleToDpi(m_Area.cy, iDpi)));
    }
    std::vector<RECT> fitted = FitTextLayout(items, rcClient, ScaleToDpi(2, iDpi));

    for (size_t i = 0; i < children.size(); ++i)
    {
        HWND hWnd = children[i].hWnd;
        const RECT& rc = fitted[i];
        LONG_PTR lStyle = children[i].lDesignStyle;
        if (items[i].kind == TxFitKind::Choice && Height(rc) > Height(items[i].rc))
            lStyle |= BS_MULTILINE;
        if (items[i].kind == TxFitKind::Line && Width(rc) < items[i].iLineWidth)
            lStyle = (lStyle & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | SS_LEFT;
        LONG_PTR lNow = GetWindowLongPtrA(hWnd, GWL_STYLE);
        if (lStyle != lNow)
        {
            SetWindowLongPtrA(hWnd, GWL_STYLE, lStyle);
            InvalidateRect(hWnd, nullptr, TRUE);
        }
        if (!SameRect(rc, TxRectInParent(hWnd, hForm)) &&
            !SetWindowPos(hWnd, nullptr, rc.left, rc.top, Width(rc), Height(rc),
                          SWP_NOZORDER | SWP_NOACTIVATE))
            TX_LOG("TxTextFitter::Fit - SetWindowPos failed: error=%lu", GetLastError());
        for (Placed& placed : m_Placed)
        {
            if (placed.hWnd != hWnd)
                continue;
            placed.rcApplied = TxRectInParent(hWnd, hForm);
            placed.lAppliedStyle = GetWindowLongPtrA(hWnd, GWL_STYLE);
        }
    }
}
