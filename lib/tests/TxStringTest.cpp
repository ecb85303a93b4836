#include "TxString.h"

#include <gtest/gtest.h>

TEST(TxStringCapacity, SmallestMultipleOf16AboveLength)
{
    EXPECT_EQ(TxString::BufferSizeFor(0), 0);
    EXPECT_EQ(TxString::BufferSizeFor(1), 16);
    EXPECT_EQ(TxString::BufferSizeFor(15), 16);
    EXPECT_EQ(TxString::BufferSizeFor(16), 32);
}
