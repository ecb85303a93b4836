#include "EngineTestSupport.h"
#include "FolderSecurity.h"
#include "TxHandles.h"

#include <gtest/gtest.h>

#include <sddl.h>

namespace
{
struct ExpectedAce
{
    const char* pszSid;
    DWORD dwMask;
};

std::string SidText(PSID pSid)
{
    char* pszSid = nullptr;
    if (!ConvertSidToStringSidA(pSid, &pszSid))
        return "?";
    TxLocalMem text(pszSid);
    return pszSid;
}

// A descriptor written in SDDL, owned while the object lives.
class Sddl
{
public:
    explicit Sddl(const char* pszSddl)
    {
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(pszSddl, SDDL_REVISION_1,
                                                                         &pDescriptor, nullptr))
            << pszSddl;
        m_Descriptor.Reset(pDescriptor);
        BOOL bPresent = FALSE, bDefaulted = FALSE;
        GetSecurityDescriptorOwner(pDescriptor, &m_pOwner, &bDefaulted);
        GetSecurityDescriptorDacl(pDescriptor, &bPresent, &m_pDacl, &bDefaulted);
        if (!bPresent)
            m_pDacl = nullptr;
    }
    PSID m_pOwner = nullptr;
    PACL m_pDacl = nullptr;

private:
    TxLocalMem m_Descriptor;
};
} // namespace

TEST(FolderSecurity, ProgramAndPrivateFoldersGetTheirProtectedAces)
{
    const DWORD READ_AND_EXECUTE = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
    struct Row
    {
        FolderAccess access;
        std::vector<ExpectedAce> aces;
    };
    const Row rows[] = {
        {FOLDER_FOR_PROGRAMS,
         {{"S-1-5-18", FILE_ALL_ACCESS},
          {"S-1-5-32-544", FILE_ALL_ACCESS},
          {"S-1-5-32-545", READ_AND_EXECUTE}}},
        {FOLDER_PRIVATE, {{"S-1-5-18", FILE_ALL_ACCESS}, {"S-1-5-32-544", FILE_ALL_ACCESS}}},
    };
    for (const Row& row : rows)
    {
        CFolderSecurity security(row.access);
        SECURITY_ATTRIBUTES* pAttributes = security.Attributes();
        ASSERT_NE(pAttributes, nullptr);
        PSECURITY_DESCRIPTOR pDescriptor = pAttributes->lpSecurityDescriptor;
        EXPECT_TRUE(IsValidSecurityDescriptor(pDescriptor));
        EXPECT_FALSE(pAttributes->bInheritHandle);
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD dwRevision = 0;
        ASSERT_TRUE(GetSecurityDescriptorControl(pDescriptor, &control, &dwRevision));
        EXPECT_EQ(control & (SE_DACL_PRESENT | SE_DACL_PROTECTED | SE_DACL_DEFAULTED),
                  SE_DACL_PRESENT | SE_DACL_PROTECTED);
        PACL pAcl = security.Dacl();
        ASSERT_NE(pAcl, nullptr);
        ASSERT_EQ(pAcl->AceCount, row.aces.size());
        for (DWORD i = 0; i < pAcl->AceCount; ++i)
        {
            ACCESS_ALLOWED_ACE* pAce = nullptr;
            ASSERT_TRUE(GetAce(pAcl, i, reinterpret_cast<void**>(&pAce)));
            EXPECT_EQ(pAce->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
            EXPECT_EQ(pAce->Header.AceFlags, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
            EXPECT_EQ(pAce->Mask, row.aces[i].dwMask) << i;
            EXPECT_EQ(SidText(&pAce->SidStart), row.aces[i].pszSid);
        }
    }
}

TEST(FolderSecurity, OnlyAdministratorsMayChangeAFolderFitForPrograms)
{
    // The setup's own user; another user of the machine.
    const char* const OWN = "S-1-5-21-1-2-3-1000";
    PSID pOwn = nullptr;
    ASSERT_TRUE(ConvertStringSidToSidA(OWN, &pOwn));
    TxLocalMem own(pOwn);
    CTrustedSids trusted(pOwn);
    struct Row
    {
        const char* pszSddl;
        bool bOthersMayChange;
    };
    const Row rows[] = {
        {"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)", false},
        // Program Files: TrustedInstaller, creator owner, app packages.
        {"O:S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
         "D:(A;OICIIO;GA;;;CO)(A;OICI;FA;;;SY)(A;OICI;0x1301bf;;;BA)(A;OICI;0x1200a9;;;BU)"
         "(A;OICI;0x1200a9;;;S-1-15-2-1)",
         false},
        {"O:S-1-5-21-1-2-3-1000D:(A;OICI;FA;;;S-1-5-21-1-2-3-1000)(A;OICI;FA;;;SY)", false},
        {"O:BAD:(D;OICI;FA;;;WD)(A;OICI;FA;;;BA)", false},
        // A folder made under C:\: authenticated users may modify.
        {"O:BAD:(A;OICI;FA;;;BA)(A;OICI;0x1301bf;;;AU)", true},
        {"O:BAD:(A;OICI;FA;;;BA)(A;;0x2;;;WD)", true},
        {"O:BAD:(A;OICI;FA;;;BA)(A;;0x4;;;BU)", true},
        {"O:BAD:(A;OICI;FA;;;BA)(A;;0x40;;;BU)", true},
        {"O:BAD:(A;OICI;FA;;;BA)(A;;WD;;;BU)", true},
        // Inherited only by the files made later: they would be theirs to replace.
        {"O:BAD:(A;OICI;FA;;;BA)(A;OIIO;GW;;;BU)", true},
        {"O:BAD:(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-21-1-2-3-1001)", true},
        // Another user owns it: the owner may always rewrite the DACL.
        {"O:S-1-5-21-1-2-3-1001D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)", true},
        // No DACL: everyone may do everything.
        {"O:BA", true},
    };
    for (const Row& row : rows)
    {
        Sddl sd(row.pszSddl);
        EXPECT_EQ(LetsOthersChange(sd.m_pOwner, sd.m_pDacl, trusted), row.bOthersMayChange)
            << row.pszSddl;
    }
}

// Wine keeps no ACLs, but it shows a folder's Unix mode as a DACL: a folder
// every Unix user may write reads back with Everyone allowed to write, and
// setting a DACL changes the mode.
TEST(FolderSecurity, InspectsAndLocksAnExistingFolder)
{
    TempFolder work;
    std::string sOpen = work / "open";
    ASSERT_TRUE(CreateDirectoryA(sOpen.c_str(), nullptr));
    EXPECT_EQ(InspectFolder(sOpen.c_str()), FOLDER_ADMINS_ONLY);
    EXPECT_EQ(InspectFolder((sOpen + "\\").c_str()), FOLDER_ADMINS_ONLY);
    EXPECT_EQ(InspectFolder((work / "missing").c_str()), FOLDER_ABSENT);
    ASSERT_TRUE(MakeSymbolicLink(work / "link", sOpen));
    EXPECT_EQ(InspectFolder((work / "link").c_str()), FOLDER_LINK);
    EXPECT_FALSE(LockFolderForPrograms((work / "link").c_str()));
    EXPECT_TRUE(RemoveSymbolicLink(work / "link"));

    ASSERT_TRUE(RunUnixTool("/bin/chmod", "0777 \"" + WineUnixPath(sOpen) + "\"",
                            [&] { return InspectFolder(sOpen.c_str()) == FOLDER_OPEN_TO_OTHERS; }))
        << "not under Wine, or chmod did not take";
    EXPECT_TRUE(LockFolderForPrograms(sOpen.c_str()));
    EXPECT_EQ(InspectFolder(sOpen.c_str()), FOLDER_ADMINS_ONLY);
    // The setup can still work in it.
    EXPECT_TRUE(WriteWholeFile(sOpen + "\\file.txt", "x"));
    EXPECT_FALSE(LockFolderForPrograms("C:\\"));
}
