#pragma once

#include "BenchSupport.h"

#include <string>

// The copy engine run without a window, as the install step runs it: the
// benchmarks that time a whole installation share it.

// Reads the medium's archive and languages as the setup does at its start and
// points the targets into folders under target ("Program Files\Quorvane",
// "Pictures\Quorvane").
void OpenMedium(const std::string& sMedium, const BenchFolder& target);
// One installation of the plan and all images; any failure ends the program.
void InstallOnce();
// Takes the installation back: files, folders and registry values.
void UndoInstall();
void CloseMedium();
