#include "SpaceInfo.h"

#include "StringTables.h"
#include "TxDiskApi.h"
#include "TxFormat.h"
#include "TxSizeText.h"

#include <climits>

TxString DrivePart(const char* pszPath)
{
    TxString sPath(pszPath);
    int p = sPath.Find(":", false, false, 1);
    if (p == 0)
        p = sPath.Find("\\", false, false, 1);
    if (p == 0)
        return sPath;
    TxString sDrive;
    sPath.SubString(1, p, sDrive);
    return sDrive;
}

unsigned long long FreeBytesOnDrive(const char* pszDrive)
{
    if (pszDrive == nullptr || *pszDrive == 0)
        return FREE_SPACE_UNKNOWN;
    DiskSpace space = {};
    if (!GetFreeSpace(pszDrive, &space))
        return 0;
    return space.FreeBytesToCaller;
}

CDriveSpace::CDriveSpace(Query pfnQuery) : m_pfnQuery(pfnQuery), m_qwFree(0), m_bRead(false) {}

bool CDriveSpace::Refresh(const char* pszPath)
{
    TxString sDrive = DrivePart(pszPath);
    // An empty text is a drive text too: it is read once per showing, so
    // that no figure of an earlier drive stays behind.
    if (m_bRead && sDrive.IsEqual(m_sLastDrive))
        return false;
    m_qwFree = m_pfnQuery(sDrive.GetText());
    m_sLastDrive = sDrive;
    m_bRead = true;
    return true;
}

TxString SizeText(unsigned long long qwBytes)
{
    TxString sText;
    FormatSize(qwBytes > LLONG_MAX ? LLONG_MAX : static_cast<long long>(qwBytes), &sText);
    return sText;
}

TxString ProgramSpaceText(const TxString& sDrive, unsigned long long qwFree,
                          unsigned long long qwProgramSize)
{
    if (sDrive.IsEmpty())
        return TxString();
    return TxFormat(gls_FreeSpaceSSS.GetText(),
                    {sDrive, SizeText(qwFree), SizeText(qwProgramSize)});
}

TxString ImageSpaceText(const TxString& sDrive, unsigned long long qwFree)
{
    if (sDrive.IsEmpty())
        return TxString();
    return TxFormat(gls_FreeSpaceSS.GetText(), {sDrive, SizeText(qwFree)});
}
