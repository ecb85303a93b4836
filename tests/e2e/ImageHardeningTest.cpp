// The hardening bits of the programs users get, read from their PE headers.
#include "E2eFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <windows.h>

namespace
{
struct ImageHeader
{
    WORD wMachine = 0;
    WORD wDllCharacteristics = 0;
};

bool ReadImageHeader(const std::string& sPath, ImageHeader& header)
{
    std::string sBytes;
    if (!ReadBytes(sPath, sBytes) || sBytes.size() < sizeof(IMAGE_DOS_HEADER))
        return false;
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, sBytes.data(), sizeof(dos));
    size_t nPe = static_cast<size_t>(dos.e_lfanew);
    // The optional header's fields up to DllCharacteristics sit at the same
    // offsets in PE32 and PE32+.
    if (dos.e_magic != IMAGE_DOS_SIGNATURE ||
        nPe + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) + sizeof(IMAGE_OPTIONAL_HEADER32) >
            sBytes.size())
        return false;
    IMAGE_FILE_HEADER file;
    std::memcpy(&file, sBytes.data() + nPe + sizeof(DWORD), sizeof(file));
    IMAGE_OPTIONAL_HEADER32 optional;
    std::memcpy(&optional, sBytes.data() + nPe + sizeof(DWORD) + sizeof(file), sizeof(optional));
    header.wMachine = file.Machine;
    header.wDllCharacteristics = optional.DllCharacteristics;
    return true;
}
} // namespace

TEST(ImageHardening, ShippedProgramsCarryTheHardeningBits)
{
    const bool b64 = sizeof(void*) == 8;
    const WORD wCommon = IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE | IMAGE_DLLCHARACTERISTICS_NX_COMPAT;
    // i686 code unwinds with DWARF tables: no SEH handler may run in it.
    // x86_64 unwinds through SEH and keeps it, with high-entropy ASLR.
    const WORD wBitness =
        b64 ? IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA : IMAGE_DLLCHARACTERISTICS_NO_SEH;
    const WORD wForbidden = b64 ? IMAGE_DLLCHARACTERISTICS_NO_SEH : 0;
    struct Program
    {
        const char* pszPath;
        bool bExe;
    };
    const Program programs[] = {
        {"wizard\\Setup.exe", true},
        {"media\\standins\\bin\\Uninstall.exe", true},
        {"media\\standins\\bin\\QvManag.exe", true},
        {"media\\standins\\bin\\QvAgent.exe", true},
        {"media\\standins\\bin\\Quorvane.scr", true},
        {"media\\standins\\bin\\QvApi.dll", false},
    };
    for (const Program& program : programs)
    {
        SCOPED_TRACE(program.pszPath);
        ImageHeader header;
        ASSERT_TRUE(ReadImageHeader(ProgramsPath(program.pszPath), header));
        EXPECT_EQ(header.wMachine, b64 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386);
        WORD wExpected = wCommon | wBitness;
        // Terminal-server awareness is a property of the process's program.
        if (program.bExe)
            wExpected |= IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE;
        EXPECT_EQ(header.wDllCharacteristics & wExpected, wExpected)
            << std::hex << header.wDllCharacteristics;
        EXPECT_EQ(header.wDllCharacteristics & wForbidden, 0)
            << std::hex << header.wDllCharacteristics;
    }
}
