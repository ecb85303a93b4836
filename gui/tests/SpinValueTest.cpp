#include "SpinValue.h"

#include <gtest/gtest.h>

TEST(SpinValueTest, TextToValueWithinRange)
{
    struct Case
    {
        const char* pszText;
        int iMin, iMax;
        int iValue;
    };
    const Case cases[] = {
        {"5", 1, 10, 5},
        {"0", 1, 10, 1},
        {"11", 1, 10, 10},
        {"", 1, 10, 1},
        {"abc", 1, 10, 1},
        {" 7", 1, 10, 7},
        {"7x", 1, 10, 7},
        {"-3", -5, 5, -3},
        {"+4", 1, 10, 4},
        {"-", 1, 10, 1},
        {"99999999999999", 1, 500, 500},
        {"-99999999999999", -10, 10, -10},
        {"3", 1, 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpinValueFromText(c.pszText, c.iMin, c.iMax), c.iValue) << c.pszText;
    EXPECT_EQ(SpinValueFromText(nullptr, 2, 9), 2);
}

TEST(SpinValueTest, Clamp)
{
    EXPECT_EQ(ClampSpinValue(5, 1, 10), 5);
    EXPECT_EQ(ClampSpinValue(-1, 1, 10), 1);
    EXPECT_EQ(ClampSpinValue(12, 1, 10), 10);
    // An empty range (the maximum below the minimum) yields the minimum.
    EXPECT_EQ(ClampSpinValue(5, 3, 0), 3);
}
