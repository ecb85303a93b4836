#include "TxCallback.h"

#include <gtest/gtest.h>

// A callback must keep its captures through copies (the controls copy their
// handlers in), pass references through and tell when it holds nothing.
TEST(TxCallback, CopiesCallWithTheirCapturesAndEmptyOnesTestFalse)
{
    TxCallback<int(int)> empty;
    TxCallback<int(int)> cleared = nullptr;
    EXPECT_FALSE(empty);
    EXPECT_FALSE(cleared);

    int iBase = 40;
    int iCalls = 0;
    TxCallback<int(int)> add = [iBase, &iCalls](int i)
    {
        ++iCalls;
        return iBase + i;
    };
    TxCallback<int(int)> copy = add;
    add = nullptr;
    EXPECT_FALSE(add);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy(2), 42);
    EXPECT_EQ(iCalls, 1);

    TxCallback<void(int&)> twice = [](int& i) { i *= 2; };
    int iValue = 21;
    twice(iValue);
    EXPECT_EQ(iValue, 42);
}
