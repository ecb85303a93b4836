#pragma once

#include "ArchiveReader.h"

#include <string>

// The first fault of an opened archive (header and table were checked when it
// was opened): a data block outside the file, or with bPlan a file of the
// setup's install plan that the setup would not find. Empty when sound.
std::string FindArchiveFault(const ArchiveReader& archive, bool bPlan);
