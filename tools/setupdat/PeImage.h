#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The few parts of a Windows program or DLL (a PE image, 32 or 64 bits) that
// a release medium touches: the header checksum and the archive seal. Every
// read is bounds-checked; a file that is not a PE image, or whose headers do
// not fit in it, throws ToolError naming what is wrong.

// The checksum Windows' ImageHlp computes (16-bit sums with the carry folded
// in, the checksum field itself left out, plus the file's length).
std::uint32_t ComputePeChecksum(const std::string& image);
// Writes ComputePeChecksum into the optional header.
void SetPeChecksum(std::string& image);
std::uint32_t StoredPeChecksum(const std::string& image);

// True when the image carries an Authenticode signature (a certificate table).
bool HasCertificateTable(const std::string& image);

// The file offset of the data of resource type/id (first language); its size
// goes to cbSize. Throws ToolError when the image has no such resource.
std::size_t FindResourceData(const std::string& image, std::uint32_t dwType, std::uint32_t dwId,
                             std::uint32_t& cbSize);
