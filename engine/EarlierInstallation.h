#pragma once

// After a rollback: whether the installation the registry names as the last
// one ("InstalledPrgDir") is complete, every program file its "Install.log"
// records being in place. Then the rollback has left (or put back) an
// installation that works, and the finish step says so instead of asking
// for a new installation. False when there is none, when its log cannot be
// read or records no program file, and when a recorded file is missing.
bool EarlierInstallationComplete();
