#pragma once

// Restricts the loading of DLLs to the system folder where Windows offers
// it, and takes the current folder out of the search: the setup often runs
// from a download folder in which other files can be planted. Looked up at
// run time, so that older systems still start. True when the system folder
// restriction is in force.
bool RestrictDllSearch();
