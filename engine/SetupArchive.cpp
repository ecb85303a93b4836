#include "SetupArchive.h"

#include "CLog.h"
#include "CSetupDatFile.h"
#include "IMessageView.h"
#include "SetupState.h"
#include "Sha256.h"
#include "StringTables.h"
#include "TxDiskApi.h"
#include "TxFile.h"
#include "TxFormat.h"

#include <cstring>
#include <memory>

static_assert(ARCHIVE_SEAL_SIZE == SHA256_DIGEST_SIZE, "the seal is the archive's SHA-256");

namespace
{
// As the extraction's: reused heap blocks, one pass over the file.
const DWORD DIGEST_BUFFER_SIZE = 256 * 1024;

void ReportMissing(IMessageView& view, const TxString& sPath)
{
    TX_LOG("File %s not found! Aborting installation.", sPath.GetText());
    view.ShowMessage(TxFormat(gls_FileNotFoundS.GetText(), {sPath}).GetText(), gls_Error.GetText(),
                     MB_OK | MB_ICONEXCLAMATION);
}

void ReportUnreadable(IMessageView& view, const TxString& sPath)
{
    TX_LOG("File %s cannot be open! Aborting installation.", sPath.GetText());
    view.ShowMessage(TxFormat("%s: %s", {gls_CopyError, sPath}).GetText(), gls_Error.GetText(),
                     MB_OK | MB_ICONEXCLAMATION);
}

// Inlined: one function less in the size build's unwind tables.
__attribute__((always_inline)) inline void FormatHex(const unsigned char* pb,
                                                     char szHex[2 * SHA256_DIGEST_SIZE + 1])
{
    static const char DIGITS[] = "0123456789abcdef";
    for (std::size_t i = 0; i < SHA256_DIGEST_SIZE; ++i)
    {
        szHex[2 * i] = DIGITS[pb[i] >> 4];
        szHex[2 * i + 1] = DIGITS[pb[i] & 15];
    }
    szHex[2 * SHA256_DIGEST_SIZE] = 0;
}

// The SHA-256 of the whole archive, read once from start to end. Called
// while the archive is open for the extraction, whose handle lets nobody
// write the file, so what is checked here is what will be installed.
bool DigestFile(const char* pszPath, std::uint8_t digest[SHA256_DIGEST_SIZE])
{
    try
    {
        TxFile file(pszPath, true, false);
        std::unique_ptr<BYTE[]> buffer(new BYTE[DIGEST_BUFFER_SIZE]);
        CSha256 sha;
        DWORD dwRead = 0;
        for (DWORD dwLeft = file.GetSize(); dwLeft > 0; dwLeft -= dwRead)
        {
            file.Read(buffer.get(), dwLeft < DIGEST_BUFFER_SIZE ? dwLeft : DIGEST_BUFFER_SIZE,
                      &dwRead);
            if (dwRead == 0)
                break; // cut short: the digest differs
            sha.Update(buffer.get(), dwRead);
        }
        sha.Finish(digest);
        return true;
    }
    catch (const std::exception& e)
    {
        TX_LOG("Exception in OpenSetupArchive: %s", e.what());
        return false;
    }
}
} // namespace

bool ArchiveMatchesSeal(const char* pszPath, const unsigned char* pbSeal)
{
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    if (!DigestFile(pszPath, digest))
        return false;
    if (std::memcmp(digest, pbSeal, SHA256_DIGEST_SIZE) != 0)
    {
        char szSealed[2 * SHA256_DIGEST_SIZE + 1];
        char szFound[2 * SHA256_DIGEST_SIZE + 1];
        FormatHex(pbSeal, szSealed);
        FormatHex(digest, szFound);
        TX_LOG("OpenSetupArchive - not the archive this setup was sealed with: path=%s, "
               "sealed=%s, found=%s",
               pszPath, szSealed, szFound);
        return false;
    }
    TX_LOG("OpenSetupArchive - archive matches the seal: path=%s", pszPath);
    return true;
}

bool ReadArchiveSeal(unsigned char seal[ARCHIVE_SEAL_SIZE])
{
    // Looked up in the program's own image: no file is opened by name.
    HRSRC hInfo = FindResourceA(nullptr, MAKEINTRESOURCEA(ARCHIVE_SEAL_RESOURCE), RT_RCDATA);
    if (hInfo == nullptr)
        return false; // a test program: it has no seal resource
    HGLOBAL hData = LoadResource(nullptr, hInfo);
    const void* pData = hData != nullptr ? LockResource(hData) : nullptr;
    if (pData == nullptr || SizeofResource(nullptr, hInfo) != ARCHIVE_SEAL_SIZE)
    {
        DWORD dwError = GetLastError();
        TX_LOG("ReadArchiveSeal - LoadResource failed: error=%lu", dwError);
        return false;
    }
    std::memcpy(seal, pData, ARCHIVE_SEAL_SIZE);
    for (int i = 0; i < ARCHIVE_SEAL_SIZE; ++i)
        if (seal[i] != 0)
            return true;
    return false;
}

bool OpenSetupArchive(CSetupDatFile& archive, IMessageView& view)
{
    unsigned char seal[ARCHIVE_SEAL_SIZE];
    return OpenSetupArchive(archive, view, ReadArchiveSeal(seal) ? seal : nullptr);
}

bool OpenSetupArchive(CSetupDatFile& archive, IMessageView& view, const unsigned char* pbSeal)
{
    g_qwPrgSize = 0;
    TxString sArchive = JoinPath(g_sSetupDir.GetText(), SETUP_ARCHIVE_NAME);
    if (!FileExists(sArchive.GetText()))
    {
        ReportMissing(view, sArchive);
        return false;
    }
    if (!archive.OpenDatFile(sArchive.GetText()) ||
        (pbSeal != nullptr && !ArchiveMatchesSeal(sArchive.GetText(), pbSeal)))
    {
        ReportUnreadable(view, sArchive);
        return false;
    }
    for (int i = 0; i < g_InstallFiles.GetCount(); ++i)
    {
        CInstallFile& file = *g_InstallFiles.FileAt(i);
        if (!archive.FindPackageFile(file.sDstName.GetText(), &file.FileInfo))
        {
            ReportMissing(view, JoinPath(g_sSetupDir.GetText(), file.sSrcName.GetText()));
            return false;
        }
        g_qwPrgSize += file.FileInfo.m_qwSize;
    }
    return true;
}
