#pragma once

#include "TxString.h"

// The drive part of a folder text: up to and including its first ":",
// else up to and including its first "\", else the whole text.
TxString DrivePart(const char* pszPath);

// The free space of an empty folder text: it names no drive, so no figure
// can stop it; creating the folder at Start fails and says so.
constexpr unsigned long long FREE_SPACE_UNKNOWN = ~0ull;

// Free bytes available to the user on a drive text; FREE_SPACE_UNKNOWN for
// an empty text; 0 when the system cannot tell (no such drive), so that
// the install step's space check refuses an unknown drive.
unsigned long long FreeBytesOnDrive(const char* pszDrive);

// Follows a folder text and reads the free space again only when its drive
// part has changed (exact comparison: letter case counts).
class CDriveSpace
{
public:
    using Query = unsigned long long (*)(const char* pszDrive);

    explicit CDriveSpace(Query pfnQuery = FreeBytesOnDrive);

    // Forgets the last drive, so that the next Refresh reads again.
    void Reset()
    {
        m_sLastDrive = "";
        m_bRead = false;
    }
    // True when the drive part of pszPath differs from the last one; the
    // free bytes have then been read for it.
    bool Refresh(const char* pszPath);
    const TxString& LastDrive() const { return m_sLastDrive; }
    unsigned long long FreeBytes() const { return m_qwFree; }

private:
    Query m_pfnQuery;
    TxString m_sLastDrive;
    unsigned long long m_qwFree;
    bool m_bRead;
};

// The options step's line: drive, its free space and the program's size;
// empty when there is no drive text.
TxString ProgramSpaceText(const TxString& sDrive, unsigned long long qwFree,
                          unsigned long long qwProgramSize);
// The images step's line: drive and its free space; empty without a drive.
TxString ImageSpaceText(const TxString& sDrive, unsigned long long qwFree);
// A byte count as a human-readable size text.
TxString SizeText(unsigned long long qwBytes);
