#pragma once

#include "ArchiveSeal.h"

class CSetupDatFile;
class IMessageView;

// Opens "Setup.dat" in the setup folder and checks that every file of the
// install plan is stored, filling each entry's description and g_qwPrgSize.
// A sealed setup first checks that the archive is the one it was sealed
// with. On failure the user is told through view and false is returned; the
// caller then ends the setup.
bool OpenSetupArchive(CSetupDatFile& archive, IMessageView& view);

// The same with the seal given: the archive's expected SHA-256, or null to
// take any archive.
bool OpenSetupArchive(CSetupDatFile& archive, IMessageView& view, const unsigned char* pbSeal);

// True when the archive's SHA-256 is the seal; logs why not. Reads the file
// once from start to end.
bool ArchiveMatchesSeal(const char* pszPath, const unsigned char* pbSeal);

// The digest that make-medium sealed into the running program; false when it
// carries none (the build tree's own Setup.exe, the tests).
bool ReadArchiveSeal(unsigned char seal[ARCHIVE_SEAL_SIZE]);
