#include "FolderSecurity.h"

#include "CLog.h"
#include "TxDiskApi.h"
#include "TxHandles.h"
#include "TxSafeFile.h"

#include <aclapi.h>
#include <cstring>
#include <initializer_list>

namespace
{
// Rights that let a grantee put, replace or remove what the folder holds, or
// take the folder over.
constexpr DWORD CHANGE_RIGHTS = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE |
                                WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
constexpr BYTE NT_AUTHORITY = 5;
constexpr BYTE CREATOR_AUTHORITY = 3;
constexpr DWORD INHERITED_BY_ALL = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

std::vector<BYTE> MakeSid(BYTE authority, std::initializer_list<DWORD> subAuthorities)
{
    SID_IDENTIFIER_AUTHORITY id = {{0, 0, 0, 0, 0, authority}};
    BYTE n = static_cast<BYTE>(subAuthorities.size());
    std::vector<BYTE> sid(GetSidLengthRequired(n));
    if (!InitializeSid(sid.data(), &id, n))
        return std::vector<BYTE>();
    DWORD i = 0;
    for (DWORD dwSub : subAuthorities)
        *GetSidSubAuthority(sid.data(), i++) = dwSub;
    return sid;
}

std::vector<BYTE> SystemSid()
{
    return MakeSid(NT_AUTHORITY, {SECURITY_LOCAL_SYSTEM_RID});
}

std::vector<BYTE> AdminsSid()
{
    return MakeSid(NT_AUTHORITY, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});
}

std::vector<BYTE> CopyOfSid(PSID pSid)
{
    if (pSid == nullptr || !IsValidSid(pSid))
        return std::vector<BYTE>();
    std::vector<BYTE> sid(GetLengthSid(pSid));
    if (!CopySid(static_cast<DWORD>(sid.size()), sid.data(), pSid))
        sid.clear();
    return sid;
}

std::vector<BYTE> TokenUserSid()
{
    TxKernelHandle hToken;
    DWORD cb = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, hToken.Receive()))
        return std::vector<BYTE>();
    GetTokenInformation(hToken.Get(), TokenUser, nullptr, 0, &cb);
    std::vector<BYTE> buffer(cb > 0 ? cb : 1);
    if (!GetTokenInformation(hToken.Get(), TokenUser, buffer.data(), cb, &cb))
        return std::vector<BYTE>();
    return CopyOfSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
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
    : m_System(SystemSid()), m_Admins(AdminsSid()),
      m_Users(MakeSid(NT_AUTHORITY, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS})),
      m_Descriptor(), m_Attributes(), m_bValid(false)
{
    bool bUsers = access == FOLDER_FOR_PROGRAMS;
    if (m_System.empty() || m_Admins.empty() || m_Users.empty())
        return;
    const DWORD cbAce = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);
    m_Acl.resize(sizeof(ACL) + 3 * cbAce + m_System.size() + m_Admins.size() + m_Users.size());
    PACL pAcl = reinterpret_cast<PACL>(m_Acl.data());
    m_bValid = InitializeAcl(pAcl, static_cast<DWORD>(m_Acl.size()), ACL_REVISION) &&
               AddAccessAllowedAceEx(pAcl, ACL_REVISION, INHERITED_BY_ALL, FILE_ALL_ACCESS,
                                     m_System.data()) &&
               AddAccessAllowedAceEx(pAcl, ACL_REVISION, INHERITED_BY_ALL, FILE_ALL_ACCESS,
                                     m_Admins.data()) &&
               (!bUsers ||
                AddAccessAllowedAceEx(pAcl, ACL_REVISION, INHERITED_BY_ALL,
                                      FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, m_Users.data())) &&
               InitializeSecurityDescriptor(&m_Descriptor, SECURITY_DESCRIPTOR_REVISION) &&
               SetSecurityDescriptorDacl(&m_Descriptor, TRUE, pAcl, FALSE) &&
               SetSecurityDescriptorControl(&m_Descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    m_Attributes.nLength = sizeof(m_Attributes);
    m_Attributes.lpSecurityDescriptor = &m_Descriptor;
    m_Attributes.bInheritHandle = FALSE;
    if (!m_bValid)
        TX_LOG("CFolderSecurity::CFolderSecurity - building the descriptor failed: error=%lu",
               GetLastError());
}

CTrustedSids::CTrustedSids() : CTrustedSids(nullptr)
{
    std::vector<BYTE> user = TokenUserSid();
    if (!user.empty())
        m_Sids.push_back(user);
}

CTrustedSids::CTrustedSids(PSID pOwnUser)
{
    m_Sids.push_back(SystemSid());
    m_Sids.push_back(AdminsSid());
    m_Sids.push_back(MakeSid(NT_AUTHORITY, {SECURITY_SERVICE_ID_BASE_RID, 956008885, 3418522649,
                                            1831038044, 1853292631, 2271478464}));
    // CREATOR OWNER grants only to whoever creates an entry, and OWNER
    // RIGHTS only to the owner, who is weighed on their own.
    m_Sids.push_back(MakeSid(CREATOR_AUTHORITY, {SECURITY_CREATOR_OWNER_RID}));
    m_Sids.push_back(MakeSid(CREATOR_AUTHORITY, {SECURITY_CREATOR_OWNER_RIGHTS_RID}));
    std::vector<BYTE> own = CopyOfSid(pOwnUser);
    if (!own.empty())
        m_Sids.push_back(own);
}

bool CTrustedSids::IsTrusted(PSID pSid) const
{
    if (pSid == nullptr || !IsValidSid(pSid))
        return false;
    for (const std::vector<BYTE>& sid : m_Sids)
        if (!sid.empty() && EqualSid(const_cast<BYTE*>(sid.data()), pSid))
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
    TxFileHandle hFolder = TxOpenEntry(sFolder.GetText(), TX_ENTRY_FOLDER,
                                       READ_CONTROL | WRITE_DAC | WRITE_OWNER, TX_SHARE_NO_DELETE);
    if (!hFolder.IsValid() || security.Dacl() == nullptr)
    {
        TX_LOG("LockFolderForPrograms - TxOpenEntry failed: path=%s, error=%lu", sFolder.GetText(),
               GetLastError());
        return false;
    }
    SECURITY_INFORMATION info = DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;
    std::vector<BYTE> admins = AdminsSid();
    PSID pNewOwner = nullptr;
    if (!HasTrustedOwner(hFolder.Get()))
    {
        info |= OWNER_SECURITY_INFORMATION;
        pNewOwner = admins.data();
    }
    DWORD dwResult = SetSecurityInfo(hFolder.Get(), SE_FILE_OBJECT, info, pNewOwner, nullptr,
                                     security.Dacl(), nullptr);
    if (dwResult != ERROR_SUCCESS)
        TX_LOG("LockFolderForPrograms - SetSecurityInfo failed: path=%s, error=%lu",
               sFolder.GetText(), dwResult);
    return dwResult == ERROR_SUCCESS;
}
