#include "EngineTestSupport.h"
#include "FolderSecurity.h"
#include "TxHandles.h"
#include "TxSecurity.h"

#include <gtest/gtest.h>

#include <sddl.h>

namespace
{
// A descriptor written in SDDL, owned while the object lives.
class Sddl
{
public:
    explicit Sddl(const char* pszSddl)
    {
        EXPECT_TRUE(TxMakeSecurityDescriptor(pszSddl, m_Descriptor)) << pszSddl;
        BOOL bPresent = FALSE, bDefaulted = FALSE;
        GetSecurityDescriptorOwner(m_Descriptor.Get(), &m_pOwner, &bDefaulted);
        GetSecurityDescriptorDacl(m_Descriptor.Get(), &bPresent, &m_pDacl, &bDefaulted);
        if (!bPresent)
            m_pDacl = nullptr;
    }
    PSID m_pOwner = nullptr;
    PACL m_pDacl = nullptr;

private:
    TxLocalMem m_Descriptor;
};
} // namespace

// The uninstaller's temporary folder is made with FOLDER_PRIVATE's
// descriptor as well (ADMIN_ONLY_FOLDER_SDDL).
TEST(FolderSecurity, ProgramAndPrivateFoldersGetTheirProtectedAces)
{
    const BYTE DOWN_THE_TREE = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    const DaclEntry SYSTEM_FULL = {"S-1-5-18", ACCESS_ALLOWED_ACE_TYPE, DOWN_THE_TREE,
                                   FILE_ALL_ACCESS};
    const DaclEntry ADMINS_FULL = {"S-1-5-32-544", ACCESS_ALLOWED_ACE_TYPE, DOWN_THE_TREE,
                                   FILE_ALL_ACCESS};
    const DaclEntry USERS_READ = {"S-1-5-32-545", ACCESS_ALLOWED_ACE_TYPE, DOWN_THE_TREE,
                                  FILE_GENERIC_READ | FILE_GENERIC_EXECUTE};
    struct Row
    {
        FolderAccess access;
        std::vector<DaclEntry> entries;
    };
    const Row rows[] = {
        {FOLDER_FOR_PROGRAMS, {SYSTEM_FULL, ADMINS_FULL, USERS_READ}},
        {FOLDER_PRIVATE, {SYSTEM_FULL, ADMINS_FULL}},
    };
    for (const Row& row : rows)
    {
        CFolderSecurity security(row.access);
        SECURITY_ATTRIBUTES* pAttributes = security.Attributes();
        ASSERT_NE(pAttributes, nullptr);
        EXPECT_FALSE(pAttributes->bInheritHandle);
        bool bProtected = false;
        EXPECT_EQ(DaclEntries(pAttributes->lpSecurityDescriptor, bProtected), row.entries);
        EXPECT_TRUE(bProtected) << "would inherit the parent's entries (Users: modify)";
        EXPECT_NE(security.Dacl(), nullptr);
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
