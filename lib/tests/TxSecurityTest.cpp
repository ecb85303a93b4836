#include "TestSupport.h"
#include "TxSecurity.h"

#include <gtest/gtest.h>

TEST(TxSecurity, AdminOnlyFolderGrantsSystemAndAdministratorsAloneDownTheTree)
{
    TxLocalMem descriptor;
    ASSERT_TRUE(TxMakeSecurityDescriptor(ADMIN_ONLY_FOLDER_SDDL, descriptor));
    bool bProtected = false;
    std::vector<DaclEntry> entries = DaclEntries(descriptor.Get(), bProtected);
    EXPECT_TRUE(bProtected) << "would inherit the parent's entries (Users: modify)";
    const BYTE inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    std::vector<DaclEntry> expected = {
        {"S-1-5-18", ACCESS_ALLOWED_ACE_TYPE, inherited, FILE_ALL_ACCESS},
        {"S-1-5-32-544", ACCESS_ALLOWED_ACE_TYPE, inherited, FILE_ALL_ACCESS},
    };
    EXPECT_EQ(entries, expected);
}
