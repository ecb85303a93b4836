#pragma once

#include <string>

class CBatchStateWriter;

// The installation on a drive that fills up while it runs: a small drive of
// its own (a tmpfs that tests/robustness/small-drive mounts and maps, named
// by QV_SMALL_DRIVE, "Q:"), filled before each run so that it takes the
// files written to it up to the k-th and only part of the next. The program
// folder lies on it, then the image folder, first on a machine without the
// product, then over an earlier installation in the same folders; k goes
// over every file that placement writes there.

// The small drive ("Q:"), or empty when there is none.
std::string SmallDrive();

// A clean installation in each placement, counting the files that take room
// on the small drive; reported as plan files * 1000 + images.
void ProbeFullDiskRuns(CBatchStateWriter& writer);

// Run i of the pass. It must end in the copy error box and the failure, and
// after the rollback both drives and the registry must be as before it, an
// earlier installation intact. Returns VARIANT_ flags (VARIANT_LEFTOVER when
// something of the run stayed).
int CheckFullDiskRun(long iRun, long iPlanFiles, long iImages);
