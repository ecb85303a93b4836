#include "ImageInfo.h"

#include "SpaceInfo.h"
#include "StringTables.h"
#include "TxFormat.h"

namespace
{
unsigned long long Count(int i)
{
    return i > 0 ? static_cast<unsigned long long>(i) : 0;
}
} // namespace

unsigned long long RandomImagesEstimate(unsigned long long qwImgSize, int iImageCount, int iChosen)
{
    if (iImageCount < 1)
        return 0;
    return qwImgSize / Count(iImageCount) * Count(iChosen);
}

unsigned long long ImageInstallSize(ImageChoice choice, unsigned long long qwImgSize,
                                    int iImageCount, int iChosen)
{
    switch (choice)
    {
    case IMAGES_RANDOM:
        return iImageCount < 1 ? 0 : qwImgSize * Count(iChosen) / Count(iImageCount);
    case IMAGES_ALL:
        return qwImgSize;
    case IMAGES_NONE:
        break;
    }
    return 0;
}

TxString ImagesFoundText(int iImageCount)
{
    return TxFormat(gls_ImagesAvailableD.GetText(), {iImageCount});
}

TxString InstallAllImagesText(unsigned long long qwImgSize)
{
    return TxFormat(gls_InstallAllImagesS.GetText(), {SizeText(qwImgSize)});
}

TxString RandomImagesText(unsigned long long qwImgSize, int iImageCount, int iChosen)
{
    TxString sEstimate = iImageCount < 1
                             ? TxString("0 bytes")
                             : SizeText(RandomImagesEstimate(qwImgSize, iImageCount, iChosen));
    return TxFormat(gls_ImagesAboutS.GetText(), {sEstimate});
}
