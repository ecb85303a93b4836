// The layout fitting on rectangles alone, where texts stand in as runs of
// 6-pixel characters in lines of 13 pixels.
#include "TxTextFit.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace
{
constexpr RECT CLIENT = {0, 0, 552, 273};
constexpr int GAP = 2;

RECT Box(int iLeft, int iTop, int iWidth, int iHeight)
{
    return RECT{iLeft, iTop, iLeft + iWidth, iTop + iHeight};
}

TxCallback<int(int)> TextOf(int iChars, int iChrome = 0)
{
    return [iChars, iChrome](int iWidth)
    {
        int iPerLine = std::max(1, (iWidth - iChrome) / 6);
        return (iChars + iPerLine - 1) / iPerLine * 13;
    };
}

TxFitItem Item(RECT rc, TxFitKind kind, TxCallback<int(int)> heightAt = nullptr, int iLineWidth = 0,
               int iGroup = -1)
{
    TxFitItem item;
    item.rc = rc;
    item.kind = kind;
    item.HeightAt = std::move(heightAt);
    item.iLineWidth = iLineWidth;
    item.iGroup = iGroup;
    return item;
}

TxFitItem Anchored(RECT rc)
{
    TxFitItem item = Item(rc, TxFitKind::Fixed);
    item.bAnchored = true;
    return item;
}

// A choice on one line when it is that wide, else two lines.
TxCallback<int(int)> Choice(int iLineWidth)
{
    return [iLineWidth](int iWidth) { return iWidth >= iLineWidth ? 17 : 30; };
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string Show(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " +
           std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top);
}

struct FitCase
{
    const char* pszName;
    std::vector<TxFitItem> items;
    std::vector<RECT> expected;
};
} // namespace

TEST(TxTextFitTest, TextsGetRoomWithoutOverlapOrLeavingTheClientArea)
{
    const RECT button = Box(237, 240, 100, 25);
    const RECT group1 = Box(16, 44, 250, 77);
    const RECT group2 = Box(280, 44, 250, 77);
    std::vector<FitCase> cases = {
        {"every text fits: nothing moves",
         {Item(Box(16, 202, 521, 32), TxFitKind::Text, TextOf(150)),
          Item(Box(24, 64, 200, 17), TxFitKind::Choice, Choice(150), 150),
          Item(Box(16, 44, 90, 13), TxFitKind::Line, TextOf(15), 90), Anchored(button)},
         {Box(16, 202, 521, 32), Box(24, 64, 200, 17), Box(16, 44, 90, 13), button}},
        {"a note above the buttons grows into the gaps below and above it",
         {Item(Box(16, 184, 100, 13), TxFitKind::Line, TextOf(16), 100),
          Item(Box(16, 202, 521, 32), TxFitKind::Text, TextOf(180)), Anchored(button)},
         {Box(16, 184, 100, 13), Box(16, 199, 521, 39), button}},
        {"with the buttons right below, the controls above move up; the title stays",
         {Anchored(Box(8, 8, 100, 24)),
          Item(Box(16, 44, 100, 13), TxFitKind::Line, TextOf(16), 100),
          Item(Box(16, 62, 521, 32), TxFitKind::Text, TextOf(180)), Anchored(Box(16, 96, 100, 25))},
         {Box(8, 8, 100, 24), Box(16, 40, 100, 13), Box(16, 55, 521, 39), Box(16, 96, 100, 25)}},
        {"a label pushes the controls below it down, the anchored ones stay",
         {Item(Box(16, 40, 200, 13), TxFitKind::Text, TextOf(60)),
          Item(Box(16, 60, 200, 20), TxFitKind::Fixed),
          Item(Box(16, 100, 200, 13), TxFitKind::Text, TextOf(10)), Anchored(button)},
         {Box(16, 40, 200, 26), Box(16, 68, 200, 20), Box(16, 108, 200, 13), button}},
        {"a choice widens into free space on its right",
         {Item(Box(24, 64, 200, 17), TxFitKind::Choice, Choice(260), 260)},
         {Box(24, 64, 260, 17)}},
        {"a choice in a group wraps; the members below and the group make room",
         {Item(group1, TxFitKind::Group, nullptr, 100),
          Item(Box(24, 59, 234, 17), TxFitKind::Choice, Choice(300), 300, 0),
          Item(Box(24, 78, 234, 17), TxFitKind::Choice, Choice(300), 300, 0),
          Item(Box(24, 97, 234, 17), TxFitKind::Choice, Choice(100), 100, 0),
          Item(Box(16, 142, 100, 13), TxFitKind::Line, TextOf(16), 100)},
         {Box(16, 44, 250, 103), Box(24, 59, 234, 30), Box(24, 91, 234, 30), Box(24, 123, 234, 17),
          Box(16, 149, 100, 13)}},
        {"group captions widen up to their neighbour and the client edge",
         {Item(group1, TxFitKind::Group, nullptr, 270),
          Item(group2, TxFitKind::Group, nullptr, 300)},
         {Box(16, 44, 262, 77), Box(280, 44, 270, 77)}},
        {"a line running into a control wraps before it and grows",
         {Item(Box(320, 89, 300, 13), TxFitKind::Line, TextOf(50), 300),
          Item(Box(24, 110, 500, 17), TxFitKind::Choice, Choice(200), 200)},
         {Box(320, 89, 230, 26), Box(24, 117, 500, 17)}},
        {"without room a text stays short and overlaps nothing",
         {Item(Box(16, 40, 521, 190), TxFitKind::Text, TextOf(5000)), Anchored(button)},
         {Box(16, 2, 534, 236), button}},
    };
    for (const FitCase& test : cases)
    {
        SCOPED_TRACE(test.pszName);
        std::vector<RECT> fitted = FitTextLayout(test.items, CLIENT, GAP);
        ASSERT_EQ(fitted.size(), test.expected.size());
        for (size_t i = 0; i < fitted.size(); ++i)
        {
            EXPECT_EQ(Show(fitted[i]), Show(test.expected[i])) << "item " << i;
            EXPECT_TRUE(fitted[i].left >= 0 && fitted[i].top >= 0 && fitted[i].right <= 552 &&
                        fitted[i].bottom <= 273)
                << "item " << i << " leaves the client area";
            for (size_t j = i + 1; j < fitted.size(); ++j)
            {
                bool bMember = test.items[i].iGroup == static_cast<int>(j) ||
                               test.items[j].iGroup == static_cast<int>(i);
                EXPECT_TRUE(bMember || !Overlap(fitted[i], fitted[j]))
                    << "items " << i << ", " << j;
            }
        }
    }
}
