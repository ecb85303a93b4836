#include "TxFormLayout.h"

#include "CLog.h"
#include "TxControl.h"
#include "TxDpi.h"
#include "TxGdiHandles.h"

#include <algorithm>
#include <memory>

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

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

// The form's device context, got at the first measurement a pass needs (a
// pass over texts measured before needs none), with one control's font
// selected at a time.
class CMeasurer
{
public:
    explicit CMeasurer(HWND hForm) : m_hForm(hForm), m_hOldFont(nullptr) {}
    ~CMeasurer()
    {
        if (m_pDc != nullptr && m_hOldFont != nullptr)
            SelectObject(m_pDc->Get(), m_hOldFont);
    }
    CMeasurer(const CMeasurer&) = delete;
    CMeasurer& operator=(const CMeasurer&) = delete;

    // Null when the form has no device context.
    HDC For(const TxControl& control)
    {
        if (m_pDc == nullptr)
        {
            m_pDc = std::make_unique<TxWindowDc>(m_hForm);
            if (m_pDc->Get() == nullptr)
            {
                DWORD dwError = GetLastError();
                TX_LOG("LayoutControls - GetDC failed: error=%lu", dwError);
            }
        }
        HDC hDc = m_pDc->Get();
        if (hDc == nullptr)
            return nullptr;
        HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessageA(control.Handle(), WM_GETFONT, 0, 0));
        HGDIOBJ hOld = SelectObject(hDc, hFont != nullptr ? hFont : GetStockObject(SYSTEM_FONT));
        if (m_hOldFont == nullptr)
            m_hOldFont = hOld;
        return hDc;
    }

private:
    HWND m_hForm;
    std::unique_ptr<TxWindowDc> m_pDc;
    HGDIOBJ m_hOldFont;
};

// The rule, kind and one-line size of a control's text, measured unless
// they are known from an earlier pass.
const TxMeasuredText& Known(TxControl& control, CMeasurer& measurer)
{
    TxMeasuredText& text = control.Measured();
    if (text.bKnown)
        return text;
    HDC hDc = measurer.For(control);
    if (hDc == nullptr)
        return text;
    text.sText = TxWindowText(control.Handle());
    text.rule = TextRuleOf(control.Handle(), control.DesignStyle(), hDc, SystemDpi());
    text.kind = FitKindOf(control.Handle(), control.DesignStyle(), text.rule);
    if (text.rule.bMeasured || control.IsSizedToText())
        text.line = MeasureText(hDc, text.sText.GetText(), text.rule.uFormat & ~DT_WORDBREAK, 0);
    text.heights.clear();
    text.bKnown = true;
    return text;
}

// The height of the control's text wrapped at iTextWidth with uFormat.
int WrappedHeight(TxControl& control, CMeasurer& measurer, UINT uFormat, int iTextWidth)
{
    TxMeasuredText& text = control.Measured();
    for (const auto& known : text.heights)
        if (known.first == iTextWidth)
            return known.second;
    HDC hDc = measurer.For(control);
    int iHeight =
        hDc != nullptr
            ? static_cast<int>(MeasureText(hDc, text.sText.GetText(), uFormat, iTextWidth).cy)
            : static_cast<int>(text.line.cy);
    text.heights.emplace_back(iTextWidth, iHeight);
    return iHeight;
}

int FromEdge(int iValue, LONG lEdge)
{
    return iValue >= 0 ? Scaled(iValue) : static_cast<int>(lEdge) - Scaled(-iValue);
}

int ToEdge(int iSize, int iStart, LONG lEdge)
{
    return iSize > 0 ? iStart + Scaled(iSize) : static_cast<int>(lEdge) - Scaled(-iSize);
}

// The design rectangle in the screen's pixels within rcClient, sized to the
// text and set after its leader where the control asks for it.
RECT BasePlace(TxControl& control, CMeasurer& measurer, const RECT& rcClient, const RECT* pLeader)
{
    const TxDesignRect& design = control.Design();
    RECT rc;
    rc.left = FromEdge(design.iLeft, rcClient.right);
    rc.top = FromEdge(design.iTop, rcClient.bottom);
    rc.right = ToEdge(design.iWidth, rc.left, rcClient.right);
    rc.bottom = ToEdge(design.iHeight, rc.top, rcClient.bottom);
    if (control.IsSizedToText())
    {
        const TxMeasuredText& text = Known(control, measurer);
        rc.right = rc.left + text.line.cx + Scaled(control.TextExtra());
        if (design.iHeight <= 0)
            rc.bottom = rc.top + text.line.cy;
    }
    if (pLeader != nullptr)
        OffsetRect(&rc, pLeader->right + Scaled(control.LeaderGap()) - rc.left, 0);
    rc.right = std::max(rc.right, rc.left);
    rc.bottom = std::max(rc.bottom, rc.top);
    return rc;
}

// The fitting's view of a visible control placed at rc.
TxFitItem FitItem(TxControl& control, CMeasurer& measurer, const RECT& rc)
{
    TxFitItem item;
    item.rc = rc;
    item.bAnchored = control.IsPinned();
    const TxMeasuredText& text = Known(control, measurer);
    if (!text.bKnown)
        return item;
    item.kind = text.kind;
    TxControl* pControl = &control;
    CMeasurer* pMeasurer = &measurer;
    const TxTextRule rule = text.rule;
    const SIZE line = text.line;
    switch (text.kind)
    {
    case TxFitKind::Line:
        item.iLineWidth = static_cast<int>(line.cx);
        item.HeightAt = [=](int iWidth)
        {
            return iWidth >= line.cx
                       ? static_cast<int>(line.cy)
                       : WrappedHeight(*pControl, *pMeasurer, rule.uFormat | DT_WORDBREAK, iWidth);
        };
        break;
    case TxFitKind::Text:
        // A text no wider than its room is as high as its own lines.
        item.HeightAt = [=](int iWidth)
        {
            int iTextWidth = iWidth - rule.iChromeWidth;
            return iTextWidth >= line.cx
                       ? static_cast<int>(line.cy)
                       : WrappedHeight(*pControl, *pMeasurer, rule.uFormat, iTextWidth);
        };
        break;
    case TxFitKind::Group:
        item.iLineWidth = static_cast<int>(line.cx) + rule.iChromeWidth;
        break;
    case TxFitKind::Choice:
    {
        item.iLineWidth = static_cast<int>(line.cx) + rule.iChromeWidth;
        if (!ChoiceWraps(control.DesignStyle()))
            break;
        int iLineWidth = item.iLineWidth;
        int iDesignHeight = Height(rc);
        UINT uWrap = (rule.uFormat & ~DT_SINGLELINE) | DT_WORDBREAK;
        int iChromeWidth = rule.iChromeWidth;
        int iChromeHeight = rule.iChromeHeight;
        item.HeightAt = [=](int iWidth)
        {
            if (iWidth >= iLineWidth)
                return iDesignHeight;
            return WrappedHeight(*pControl, *pMeasurer, uWrap, iWidth - iChromeWidth) +
                   iChromeHeight;
        };
        break;
    }
    case TxFitKind::Fixed:
        break;
    }
    return item;
}

// Shows the control at rc with the style its fitting asks for.
void Apply(TxControl& control, const TxFitItem& item, const RECT& rc)
{
    bool bWrapped = (item.kind == TxFitKind::Line && Width(rc) < item.iLineWidth) ||
                    (item.kind == TxFitKind::Choice && Height(rc) > Height(item.rc));
    LONG_PTR lNow = GetWindowLongPtrA(control.Handle(), GWL_STYLE);
    LONG_PTR lStyle = FittedStyle(item.kind, control.DesignStyle(), lNow, bWrapped);
    if (lStyle != lNow)
    {
        SetWindowLongPtrA(control.Handle(), GWL_STYLE, lStyle);
        InvalidateRect(control.Handle(), nullptr, TRUE);
    }
    control.PlacePx(rc);
}
} // namespace

void LayoutControls(HWND hForm, const std::vector<TxControl*>& controls)
{
    RECT rcClient = {0, 0, 0, 0};
    GetClientRect(hForm, &rcClient);
    CMeasurer measurer(hForm);

    std::vector<RECT> base;
    std::vector<size_t> shown;
    std::vector<TxFitItem> items;
    for (size_t i = 0; i < controls.size(); ++i)
    {
        TxControl& control = *controls[i];
        const RECT* pLeader = nullptr;
        for (size_t j = 0; j < i; ++j)
            if (controls[j] == control.Leader())
                pLeader = &base[j];
        base.push_back(BasePlace(control, measurer, rcClient, pLeader));
        if (!control.IsVisibleFlag())
            continue;
        shown.push_back(i);
        items.push_back(FitItem(control, measurer, base.back()));
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
    std::vector<RECT> fitted = FitTextLayout(items, rcClient, Scaled(2));

    size_t iNext = 0;
    for (size_t i = 0; i < controls.size(); ++i)
    {
        if (iNext < shown.size() && shown[iNext] == i)
        {
            Apply(*controls[i], items[iNext], fitted[iNext]);
            ++iNext;
        }
        else
            controls[i]->PlacePx(base[i]);
    }
}
