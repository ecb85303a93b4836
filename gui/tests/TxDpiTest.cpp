#include "TxDpi.h"

#include <gtest/gtest.h>

TEST(TxDpiTest, ScalesToTheNearestPixel)
{
    struct Case
    {
        int iValue;
        int iAt120, iAt144, iAt192;
    };
    // Halves round up: 273 x 1.5 = 409.5 gives 410, 11 x 1.25 = 13.75 gives 14.
    const Case cases[] = {
        {0, 0, 0, 0},         {1, 1, 2, 2},         {2, 3, 3, 4},          {3, 4, 5, 6},
        {11, 14, 17, 22},     {21, 26, 32, 42},     {25, 31, 38, 50},      {169, 211, 254, 338},
        {200, 250, 300, 400}, {273, 341, 410, 546}, {552, 690, 828, 1104}, {-3, -4, -5, -6},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(ScaleToDpi(c.iValue, 96), c.iValue);
        EXPECT_EQ(ScaleToDpi(c.iValue, 120), c.iAt120) << c.iValue;
        EXPECT_EQ(ScaleToDpi(c.iValue, 144), c.iAt144) << c.iValue;
        EXPECT_EQ(ScaleToDpi(c.iValue, 192), c.iAt192) << c.iValue;
    }
}
