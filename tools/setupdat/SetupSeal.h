#pragma once

#include <filesystem>
#include <string>

// The seal of a release medium: the SHA-256 of its "Setup.dat" written into
// the archive-seal resource of its Setup.exe (setupdata/ArchiveSeal.h), which
// the setup checks the archive against before it installs anything.

// The archive's SHA-256 as 64 lower-case hex digits.
std::string ArchiveSha256Hex(const std::filesystem::path& archive);

// Writes the archive's digest into the setup program and sets the program's
// PE checksum. Throws ToolError for a program without the seal resource and
// for a signed one (sealing would break its signature: seal, then sign).
// Returns the digest as hex.
std::string SealSetup(const std::filesystem::path& setup, const std::filesystem::path& archive);

// Empty when the setup is sealed with the archive's digest, else the reason.
std::string SealFault(const std::filesystem::path& setup, const std::filesystem::path& archive);
