#include "TxTextFit.h"

#include <algorithm>

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
        // A form has a few dozen controls: an insertion sort (stable) is
        // quick enough and much smaller than std::stable_sort's.
        std::vector<size_t> order;
        for (size_t i = 0; i < m_Items.size(); ++i)
        {
            size_t k = order.size();
            order.push_back(i);
            for (; k > 0 && Above(i, order[k - 1]); --k)
                order[k] = order[k - 1];
            order[k] = i;
        }
        for (size_t i : order)
            Fit(i);
        return m_Rc;
    }

private:
    bool Above(size_t a, size_t b) const
    {
        const RECT& ra = m_Items[a].rc;
        const RECT& rb = m_Items[b].rc;
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    }

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
} // namespace

std::vector<RECT> FitTextLayout(const std::vector<TxFitItem>& items, const RECT& rcClient, int iGap)
{
    return CFitLayout(items, rcClient, iGap).Run();
}
