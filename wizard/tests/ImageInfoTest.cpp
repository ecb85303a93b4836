#include "ImageInfo.h"

#include "StringTables.h"

#include <gtest/gtest.h>

namespace
{
class ImageInfoTest : public ::testing::Test
{
protected:
    void SetUp() override { SetDefaultTexts(); }
};
} // namespace

TEST_F(ImageInfoTest, EstimateAndStoredSize)
{
    struct Case
    {
        unsigned long long qwSize;
        int iCount;
        int iChosen;
        unsigned long long qwEstimate; // average first
        unsigned long long qwRandom;   // product first
    };
    const Case cases[] = {
        {1000, 3, 2, 666, 666}, {1001, 3, 2, 666, 667}, // the two roundings differ
        {10, 3, 3, 9, 10},      {5000, 1, 1, 5000, 5000}, {5000, 0, 1, 0, 0},
        {5000, 4, 0, 0, 0},     {0, 4, 2, 0, 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(RandomImagesEstimate(c.qwSize, c.iCount, c.iChosen), c.qwEstimate)
            << c.qwSize << "/" << c.iCount << "*" << c.iChosen;
        EXPECT_EQ(ImageInstallSize(IMAGES_RANDOM, c.qwSize, c.iCount, c.iChosen), c.qwRandom)
            << c.qwSize << "*" << c.iChosen << "/" << c.iCount;
        EXPECT_EQ(ImageInstallSize(IMAGES_NONE, c.qwSize, c.iCount, c.iChosen), 0u);
        EXPECT_EQ(ImageInstallSize(IMAGES_ALL, c.qwSize, c.iCount, c.iChosen), c.qwSize);
    }
}

TEST_F(ImageInfoTest, LargeSizesStayIn64Bits)
{
    unsigned long long qwSize = 40ull * 1024 * 1024 * 1024; // 40 GB of images
    EXPECT_EQ(ImageInstallSize(IMAGES_RANDOM, qwSize, 4000, 3999), qwSize * 3999 / 4000);
    EXPECT_EQ(RandomImagesEstimate(qwSize, 4000, 3999), qwSize / 4000 * 3999);
}

TEST_F(ImageInfoTest, Texts)
{
    EXPECT_STREQ(ImagesFoundText(12).GetText(), "12 images available to be installed. ");
    EXPECT_STREQ(InstallAllImagesText(1536).GetText(), "Install all images (requires 1.50 kB).");
    EXPECT_STREQ(RandomImagesText(3000, 3, 2).GetText(), "images, about 1.95 kB");
    EXPECT_STREQ(RandomImagesText(3000, 0, 2).GetText(), "images, about 0 bytes");
}
