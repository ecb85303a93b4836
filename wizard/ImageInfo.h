#pragma once

#include "CopyEngine.h"
#include "TxString.h"

// The images step's figures and texts. iImageCount is M, the images on the
// medium; iChosen is N, the count of the random selection.

// Bytes the label estimates for N random images: the average image size
// (truncated) times N; 0 when there are no images.
unsigned long long RandomImagesEstimate(unsigned long long qwImgSize, int iImageCount, int iChosen);
// Bytes the chosen images need, as stored on Next: multiplied before the
// division, so it may differ from the estimate by rounding.
unsigned long long ImageInstallSize(ImageChoice choice, unsigned long long qwImgSize,
                                    int iImageCount, int iChosen);

TxString ImagesFoundText(int iImageCount);
TxString InstallAllImagesText(unsigned long long qwImgSize);
// "images, about ..." with the estimate; the estimate reads "0 bytes"
// when there are no images.
TxString RandomImagesText(unsigned long long qwImgSize, int iImageCount, int iChosen);
