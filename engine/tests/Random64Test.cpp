#include "Random64.h"

#include <gtest/gtest.h>

TEST(Random64, ReproducesTheGeneratorSequence)
{
    // Seed 1: low = 1 * 22695477 + 1 = 22695478, high = 0. First draw by hand:
    // S * 20021 = 454386165038, whose high half is 105; S * 346 = 7852635388;
    // (7852635388 + 105) mod 2^32 = 3557668197, masked with 0x7FFFFFFF.
    CRandom64 random;
    random.Seed(1);
    EXPECT_EQ(random.Next(), 1410184549u);
    EXPECT_EQ(random.Next(), 672584604u);
    EXPECT_EQ(random.Next(), 1915668986u);
    random.Seed(12345);
    EXPECT_EQ(random.Next(), 1220244142u);
    EXPECT_EQ(random.Next(), 1374406965u);
}
