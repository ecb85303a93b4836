#pragma once

// The seal of a release medium: scripts/make-medium writes the SHA-256 of the
// "Setup.dat" it made into this resource of Setup.exe (type RCDATA, 32 bytes)
// before the program is signed, so that the signature covers it. A setup
// that carries a digest installs only from that archive; 32 zero bytes (the
// build tree's own Setup.exe) mean no seal. Macros only: Setup.rc includes it.
#define ARCHIVE_SEAL_RESOURCE 2
#define ARCHIVE_SEAL_SIZE 32
