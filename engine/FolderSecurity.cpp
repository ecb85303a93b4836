#include "FolderSecurity.h"

#include "CLog.h"
#include "TxDiskApi.h"
#include "TxHandles.h"
#include "TxSafeFile.h"
#include "TxSecurity.h"

#include <aclapi.h>
#include <cstring>

namespace
{
// Rights that let a grantee put, replace or remove what the folder holds, or
// take the folder over.
constexpr DWORD CHANGE_RIGHTS = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE |
                                WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
constexpr BYTE NT_AUTHORITY = 5;
constexpr BYTE CREATOR_AUTHORITY = 3;
// SYSTEM and Administrators full control, Users read and execute
// (FILE_GENERIC_READ | FILE_GENERIC_EXECUTE), each inherited by files and
// subfolders; protected.
constexpr char PROGRAM_FOLDER_SDDL[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)";

bool MakeSid(CSidBuffer& sid, BYTE authority, const DWORD* pSubAuthorities, BYTE n)
{
    SID_IDENTIFIER_AUTHORITY id = {{0, 0, 0, 0, 0, authority}};
    if (!InitializeSid(sid.Get(), &id, n))
        return false;
    for (BYTE i = 0; i < n; ++i)
        *GetSidSubAuthority(sid.Get(), i) = pSubAuthorities[i];
    return true;
}

const DWORD SYSTEM_RIDS[] = {SECURITY_LOCAL_SYSTEM_RID};
const DWORD ADMINS_RIDS[] = {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS};
const DWORD TRUSTED_INSTALLER_RIDS[] = {
    SECURITY_SERVICE_ID_BASE_RID, 956008885, 3418522649, 1831038044, 1853292631, 2271478464};
const DWORD CREATOR_OWNER_RIDS[] = {SECURITY_CREATOR_OWNER_RID};
const DWORD OWNER_RIGHTS_RIDS[] = {SECURITY_CREATOR_OWNER_RIGHTS_RID};

template <size_t N> bool MakeSid(CSidBuffer& sid, BYTE authority, const DWORD (&rids)[N])
{
    return MakeSid(sid, authority, rids, static_cast<BYTE>(N));
}

// The user of the process token, copied into sid.
bool TokenUserSid(CSidBuffer& sid)
{
    TxKernelHandle hToken;
    union
    {
        TOKEN_USER user;
        BYTE abBuffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } info;
    DWORD cb = 0;
    return OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, hToken.Receive()) &&
           GetTokenInformation(hToken.Get(), TokenUser, &info, sizeof(info), &cb) &&
           CopySid(sizeof(sid.adwBytes), sid.Get(), info.user.User.Sid);
}

bool IsDriveOrShareRoot(const TxString& sFolder)
{
    const char* p = sFolder.GetText();
    if (sFolder.Length() <= 2)
        return true;
    if (p[0] != '\\' || p[1] != '\\')
        return false;
    const char* pShare = std::strchr(p + 2, '\\');
    return pShare == nullptr || std::strchr(pShare + 1, '\\') == nullptr;
}

// The folder as a path to open: a drive root keeps its backslash ("C:" alone
// names the current folder of that drive).
TxString OpenablePath(const TxString& sFolder)
{
    TxString s(sFolder);
    if (s.Length() == 2 && *s.CharAt(2) == ':')
        s.Append("\\");
    return s;
}
} // namespace

CFolderSecurity::CFolderSecurity(FolderAccess access)
    : m_Descriptor(), m_Attributes(), m_pDacl(nullptr)
{
    BOOL bPresent = FALSE;
    BOOL bDefaulted = FALSE;
    if (!TxMakeSecurityDescriptor(access == FOLDER_FOR_PROGRAMS ? PROGRAM_FOLDER_SDDL
                                                                : ADMIN_ONLY_FOLDER_SDDL,
                                  m_Descriptor) ||
        !GetSecurityDescriptorDacl(m_Descriptor.Get(), &bPresent, &m_pDacl, &bDefaulted) ||
        !bPresent)
        m_pDacl = nullptr;
    m_Attributes.nLength = sizeof(m_Attributes);
    m_Attributes.lpSecurityDescriptor = m_Descriptor.Get();
    m_Attributes.bInheritHandle = FALSE;
}

CTrustedSids::CTrustedSids() : CTrustedSids(nullptr)
{
    CSidBuffer user;
    if (TokenUserSid(user))
        Add(user.Get());
}

CTrustedSids::CTrustedSids(PSID pOwnUser) : m_Sids(), m_nSids(0)
{
    CSidBuffer sid;
    // CREATOR OWNER grants only to whoever creates an entry, and OWNER
    // RIGHTS only to the owner, who is weighed on their own.
    if (MakeSid(sid, NT_AUTHORITY, SYSTEM_RIDS))
        Add(sid.Get());
    if (MakeSid(sid, NT_AUTHORITY, ADMINS_RIDS))
        Add(sid.Get());
    if (MakeSid(sid, NT_AUTHORITY, TRUSTED_INSTALLER_RIDS))
        Add(sid.Get());
    if (MakeSid(sid, CREATOR_AUTHORITY, CREATOR_OWNER_RIDS))
        Add(sid.Get());
    if (MakeSid(sid, CREATOR_AUTHORITY, OWNER_RIGHTS_RIDS))
        Add(sid.Get());
    if (pOwnUser != nullptr)
        Add(pOwnUser);
}

void CTrustedSids::Add(PSID pSid)
{
    if (m_nSids < static_cast<int>(sizeof(m_Sids) / sizeof(m_Sids[0])) && IsValidSid(pSid) &&
        CopySid(sizeof(m_Sids[0].adwBytes), m_Sids[m_nSids].Get(), pSid))
        ++m_nSids;
}

bool CTrustedSids::IsTrusted(PSID pSid) const
{
    if (pSid == nullptr || !IsValidSid(pSid))
        return false;
    for (int i = 0; i < m_nSids; ++i)
        if (EqualSid(const_cast<void*>(m_Sids[i].Get()), pSid))
            return true;
    return false;
}

bool LetsOthersChange(PSID pOwner, const ACL* pDacl, const CTrustedSids& trusted)
{
    if (!trusted.IsTrusted(pOwner) || pDacl == nullptr)
        return true;
    for (DWORD i = 0; i < pDacl->AceCount; ++i)
    {
        void* pAce = nullptr;
        if (!GetAce(const_cast<ACL*>(pDacl), i, &pAce))
            return true;
        const ACE_HEADER* pHeader = static_cast<const ACE_HEADER*>(pAce);
        bool bAllowed = pHeader->AceType == ACCESS_ALLOWED_ACE_TYPE ||
                        pHeader->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
        bool bObject = pHeader->AceType == ACCESS_ALLOWED_OBJECT_ACE_TYPE ||
                       pHeader->AceType == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE;
        if (!bAllowed && !bObject)
            continue;
        // The mask follows the header in every allowing ACE; the SID's place
        // differs in object ACEs, which files do not have: such a one counts
        // as granted to anyone.
        const ACCESS_ALLOWED_ACE* pAllowed = static_cast<const ACCESS_ALLOWED_ACE*>(pAce);
        if ((pAllowed->Mask & CHANGE_RIGHTS) == 0)
            continue;
        if (bObject || !trusted.IsTrusted(const_cast<DWORD*>(&pAllowed->SidStart)))
            return true;
    }
    return false;
}

bool HasTrustedOwner(HANDLE hEntry)
{
    PSID pOwner = nullptr;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    DWORD dwResult = GetSecurityInfo(hEntry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &pOwner,
                                     nullptr, nullptr, nullptr, &pDescriptor);
    TxLocalMem descriptor(pDescriptor);
    if (dwResult != ERROR_SUCCESS)
    {
        TX_LOG("HasTrustedOwner - GetSecurityInfo failed: error=%lu", dwResult);
        return false;
    }
    return CTrustedSids().IsTrusted(pOwner);
}

FolderState InspectFolder(const char* pszFolder)
{
    TxString sFolder = OpenablePath(PlainFolderPath(pszFolder));
    TxFileHandle hFolder =
        TxOpenEntry(sFolder.GetText(), TX_ENTRY_FOLDER, READ_CONTROL, TX_SHARE_ALL);
    if (!hFolder.IsValid())
    {
        DWORD dwError = GetLastError();
        if (dwError == TX_ERROR_LINK)
            return FOLDER_LINK;
        if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND ||
            dwError == ERROR_DIRECTORY)
            return FOLDER_ABSENT;
        TX_LOG("InspectFolder - TxOpenEntry failed: path=%s, error=%lu", sFolder.GetText(),
               dwError);
        return FOLDER_OPEN_TO_OTHERS;
    }
    PSID pOwner = nullptr;
    PACL pDacl = nullptr;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    DWORD dwResult = GetSecurityInfo(hFolder.Get(), SE_FILE_OBJECT,
                                     OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                     &pOwner, nullptr, &pDacl, nullptr, &pDescriptor);
    TxLocalMem descriptor(pDescriptor);
    if (dwResult != ERROR_SUCCESS)
    {
        TX_LOG("InspectFolder - GetSecurityInfo failed: path=%s, error=%lu", sFolder.GetText(),
               dwResult);
        return FOLDER_OPEN_TO_OTHERS;
    }
    return LetsOthersChange(pOwner, pDacl, CTrustedSids()) ? FOLDER_OPEN_TO_OTHERS
                                                           : FOLDER_ADMINS_ONLY;
}

bool LockFolderForPrograms(const char* pszFolder)
{
    TxString sFolder = PlainFolderPath(pszFolder);
    // A drive's or a share's rights are not the product's to change.
    if (IsDriveOrShareRoot(sFolder))
    {
        TX_LOG("LockFolderForPrograms - not changing the rights of a root: path=%s",
               sFolder.GetText());
        return false;
    }
    CFolderSecurity security(FOLDER_FOR_PROGRAMS);
    CSidBuffer admins;
    TxFileHandle hFolder = TxOpenEntry(sFolder.GetText(), TX_ENTRY_FOLDER,
                                       READ_CONTROL | WRITE_DAC | WRITE_OWNER, TX_SHARE_NO_DELETE);
    if (!hFolder.IsValid() || security.Dacl() == nullptr ||
        !MakeSid(admins, NT_AUTHORITY, ADMINS_RIDS))
    {
        TX_LOG("LockFolderForPrograms - TxOpenEntry failed: path=%s, error=%lu", sFolder.GetText(),
               GetLastError());
        return false;
    }
    SECURITY_INFORMATION info = DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;
    PSID pNewOwner = nullptr;
    if (!HasTrustedOwner(hFolder.Get()))
    {
        info |= OWNER_SECURITY_INFORMATION;
        pNewOwner = admins.Get();
    }
    DWORD dwResult = SetSecurityInfo(hFolder.Get(), SE_FILE_OBJECT, info, pNewOwner, nullptr,
                                     security.Dacl(), nullptr);
    if (dwResult != ERROR_SUCCESS)
        TX_LOG("LockFolderForPrograms - SetSecurityInfo failed: path=%s, error=%lu",
               sFolder.GetText(), dwResult);
    return dwResult == ERROR_SUCCESS;
}
