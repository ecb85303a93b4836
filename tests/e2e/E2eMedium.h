#pragma once

#include <string>
#include <vector>

// What a scenario's medium holds; the default is a complete medium with
// three images.
struct MediumOptions
{
    int iImages = 3;
    bool bArchive = true;
    // The archive's header carries another program's signature.
    bool bForeignSignature = false;
    // A plan file left out of the archive (empty: none).
    std::string sOmitFromArchive;
    // One more image of this size, sparse, so that the space check fails.
    unsigned long long qwHugeImage = 0;
    // Setup.exe sealed with the archive's digest, as make-medium seals it.
    bool bSealed = false;
    // One byte of the archive changed after the seal.
    bool bChangedAfterSeal = false;
};

// Builds a medium in sFolder as the distribution would have it: Setup.exe,
// Setup.dat (packed by the build's archive tool from the stand-ins and the
// sample files), SetupLang.dat and Images\*.jpg. False, with sError set,
// when something is missing from the build.
bool PrepareMedium(const std::string& sFolder, const MediumOptions& options, std::string& sError);

// The sample file a plan entry is packed from (stand-in or media file).
std::string SampleFilePath(const std::string& sName);
// Names of the images PrepareMedium writes for a count.
std::vector<std::string> ImageNames(int iImages);
