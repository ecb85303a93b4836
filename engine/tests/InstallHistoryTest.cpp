#include "EngineTestSupport.h"
#include "InstallBackup.h"
#include "InstallHistory.h"
#include "RegistryHelpers.h"
#include "TxHandles.h"

#include <gtest/gtest.h>

namespace
{
class InstallHistoryTest : public ::testing::Test
{
protected:
    void SetUp() override { g_History.FreeAll(); }
    void TearDown() override
    {
        g_History.FreeAll();
        RemoveAutorun(REG_AUTORUN_VALUE);
        RemoveUninstallInfo("QvRollbackTest");
    }
    TempFolder m_Temp;
};

// The backup store the run made in sFolder (there is one per folder).
std::string BackupStoreIn(const std::string& sFolder)
{
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(
        FindFirstFileA((sFolder + "\\" + BACKUP_FOLDER_PREFIX + "*").c_str(), &data));
    return hFind.IsValid() ? sFolder + "\\" + data.cFileName : std::string();
}
} // namespace

TEST_F(InstallHistoryTest, RollBackUndoesNewestFirstAndKeepsWhatItDidNotMake)
{
    std::string existing = m_Temp / "Existing";
    std::string prg = existing + "\\Quorvane";
    std::string textures = prg + "\\Textures";
    CreateDirectoryA(existing.c_str(), nullptr);
    CreateDirectoryA(prg.c_str(), nullptr);
    g_History.Record(FOLDER, prg.c_str());
    CreateDirectoryA(textures.c_str(), nullptr);
    WriteWholeFile(prg + "\\QvAgent.exe", "agent");
    g_History.Record(PRGFILE, (prg + "\\QvAgent.exe").c_str());
    WriteWholeFile(textures + "\\Texture001.bmp", "bmp");
    SetFileAttributesA((textures + "\\Texture001.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
    g_History.Record(PRGFILE, (textures + "\\Texture001.bmp").c_str());
    ASSERT_TRUE(SetAutorun(REG_AUTORUN_VALUE, "x"));
    g_History.Record(AUTORUN, "ignored");
    UninstallInfo info;
    info.sName = "QvRollbackTest";
    ASSERT_TRUE(AddUninstallInfo(info));
    g_History.Record(UNINST, "QvRollbackTest");

    LogCapture log;
    RollBack();

    EXPECT_FALSE(PathExists(prg + "\\QvAgent.exe"));
    EXPECT_FALSE(PathExists(textures + "\\Texture001.bmp"));
    // "Textures" was made but not recorded: it stays, and so does its parent.
    EXPECT_TRUE(PathExists(textures));
    EXPECT_TRUE(PathExists(prg));
    EXPECT_TRUE(PathExists(existing));
    EXPECT_FALSE(AutorunExists(REG_AUTORUN_VALUE));
    EXPECT_FALSE(RemoveUninstallInfo("QvRollbackTest"));

    std::vector<std::string> expected = {
        "RollBack",
        "  Removing uninstall info QvRollbackTest",
        "  Removing agent from registry startup.",
        "  Deleting file " + textures + "\\Texture001.bmp",
        "  Deleting file " + prg + "\\QvAgent.exe",
        "  Removing directory " + prg,
    };
    EXPECT_EQ(log.Messages(), expected);
    EXPECT_EQ(g_History.GetCount(), 5) << "rollback leaves the history as it was";
}

TEST_F(InstallHistoryTest, RollBackRemovesEmptyCreatedFolders)
{
    std::string prg = m_Temp / "Prg";
    CreateDirectoryA(prg.c_str(), nullptr);
    g_History.Record(FOLDER, prg.c_str());
    WriteWholeFile(prg + "\\a.txt", "a");
    g_History.Record(PRGFILE, (prg + "\\a.txt").c_str());
    RollBack();
    EXPECT_FALSE(PathExists(prg));
}

TEST_F(InstallHistoryTest, EmptyHistoryLogsOnlyTheHead)
{
    LogCapture log;
    RollBack();
    EXPECT_EQ(log.Messages(), std::vector<std::string>{"RollBack"});
}

TEST_F(InstallHistoryTest, RollBackPutsBackWhatTheRunReplaced)
{
    std::string file = m_Temp / "QvAgent.exe";
    WriteWholeFile(file, "old agent");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    DWORD dwAttributes = GetFileAttributesA(file.c_str());
    ASSERT_TRUE(SetAutorun(REG_AUTORUN_VALUE, "old command"));
    ASSERT_TRUE(KeepFile(file.c_str()));
    KeepRegistryValue(HKEY_LOCAL_MACHINE, REG_RUN_KEY, REG_AUTORUN_VALUE);
    EXPECT_FALSE(PathExists(file));
    WriteWholeFile(file, "new agent");
    g_History.Record(PRGFILE, file.c_str());
    SetAutorun(REG_AUTORUN_VALUE, "new command");
    g_History.Record(AUTORUN, "");

    RollBack();

    EXPECT_EQ(ReadWholeFile(file), "old agent");
    EXPECT_EQ(GetFileAttributesA(file.c_str()), dwAttributes);
    TxString sCommand;
    EXPECT_TRUE(RegistryGetString(HKEY_LOCAL_MACHINE, REG_RUN_KEY, REG_AUTORUN_VALUE, sCommand));
    EXPECT_STREQ(sCommand.GetText(), "old command");
    EXPECT_EQ(KeptFileCount(), 0);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A value the run created is gone again after the rollback, a kept value of
// another type comes back with its type, and a file kept twice is kept once.
TEST_F(InstallHistoryTest, RollBackRemovesValuesThatWereAbsent)
{
    constexpr char KEY[] = "Software\\QvRollbackTest";
    ASSERT_TRUE(RegistryCreateKey(HKEY_CURRENT_USER, KEY));
    TxRegKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, KEY, 0, KEY_ALL_ACCESS, key.Receive()),
              ERROR_SUCCESS);
    const DWORD dwOld = 7;
    ASSERT_EQ(RegSetValueExA(key.Get(), "Number", 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&dwOld), sizeof(dwOld)),
              ERROR_SUCCESS);
    KeepRegistryValue(HKEY_CURRENT_USER, KEY, "Absent");
    KeepRegistryValue(HKEY_CURRENT_USER, KEY, "Number");
    KeepRegistryValue(HKEY_CURRENT_USER, KEY, "Number");
    RegistrySetString(HKEY_CURRENT_USER, KEY, "Absent", "made by the run");
    RegistrySetString(HKEY_CURRENT_USER, KEY, "Number", "replaced by the run");

    RollBack();

    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, KEY, "Absent"));
    DWORD dwType = 0;
    DWORD dwData = 0;
    DWORD cbData = sizeof(dwData);
    EXPECT_EQ(RegQueryValueExA(key.Get(), "Number", nullptr, &dwType,
                               reinterpret_cast<BYTE*>(&dwData), &cbData),
              ERROR_SUCCESS);
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(dwData, dwOld);
    key.Reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, KEY);
}

// Keys the run's writes made go with its values; a key that held something
// before, or holds another's value now, stays.
TEST_F(InstallHistoryTest, RollBackRemovesTheKeysTheRunMade)
{
    constexpr char KEY[] = "Software\\QvRollbackTest";
    const std::string sMade = std::string(KEY) + "\\Made";
    const std::string sDeeper = sMade + "\\Deeper";
    const std::string sShared = std::string(KEY) + "\\Shared";
    ASSERT_TRUE(RegistryCreateKey(HKEY_CURRENT_USER, KEY));
    KeepRegistryValue(HKEY_CURRENT_USER, sDeeper.c_str(), "Value");
    KeepRegistryValue(HKEY_CURRENT_USER, sShared.c_str(), "Value");
    RegistrySetString(HKEY_CURRENT_USER, sDeeper.c_str(), "Value", "made by the run");
    RegistrySetString(HKEY_CURRENT_USER, sShared.c_str(), "Value", "made by the run");
    RegistrySetString(HKEY_CURRENT_USER, sShared.c_str(), "Other", "written by another program");

    RollBack();

    TxRegKey key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, sMade.c_str(), 0, KEY_READ, key.Receive()),
              ERROR_SUCCESS);
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, sShared.c_str(), "Other"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, sShared.c_str(), "Value"));
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, KEY, 0, KEY_READ, key.Receive()), ERROR_SUCCESS);
    key.Reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, KEY);
}

// After a successful run the backups go; one that is still open goes at the
// next restart instead.
TEST_F(InstallHistoryTest, DiscardKeptLeavesAnOpenBackupToTheRestart)
{
    std::string kept = m_Temp / "QvApi.dll";
    std::string gone = m_Temp / "QvImage.dll";
    WriteWholeFile(kept, "old api");
    WriteWholeFile(gone, "old image");
    ASSERT_TRUE(KeepFile(kept.c_str()));
    ASSERT_TRUE(KeepFile(gone.c_str()));
    std::string backup = BackupStoreIn(m_Temp.Path());
    TxFileHandle open(CreateFileA((backup + "\\QvApi.dll").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(open.IsValid());
    PendingRemovalsGuard pending;

    DiscardKept();

    EXPECT_FALSE(PathExists(backup + "\\QvImage.dll"));
    std::string sPending = PendingRemovalsGuard::Current();
    EXPECT_NE(sPending.find(backup + "\\QvApi.dll"), std::string::npos);
    EXPECT_NE(sPending.find(backup + std::string(1, '\0')), std::string::npos)
        << "the backup folder is not left to the restart";
    EXPECT_EQ(KeptFileCount(), 0);
    open.Reset();
}

// Under Windows the held store cannot be renamed; Wine lets the Unix side do
// it, which stands for a store swapped for a link to another folder. What
// was kept stays in the real store, nothing goes where the link leads.
TEST_F(InstallHistoryTest, BackupStoreSwappedForALinkTakesNothingFurther)
{
    TempFolder victim("qv_victim_");
    std::string first = m_Temp.AddFile("QvApi.dll", "old api");
    std::string second = m_Temp.AddFile("QvImage.dll", "old image");
    ASSERT_TRUE(KeepFile(first.c_str()));
    std::string store = BackupStoreIn(m_Temp.Path());
    ASSERT_FALSE(store.empty());
    std::string moved = store + ".moved";
    // Wine passes the command line on split as Windows would: one quoted
    // argument for the shell (the temp paths hold no blanks).
    ASSERT_TRUE(RunUnixTool("/bin/sh",
                            "-c \"mv " + WineUnixPath(store) + " " + WineUnixPath(moved) +
                                " && ln -s " + WineUnixPath(victim.Path()) + " " +
                                WineUnixPath(store) + "\"",
                            [&] { return PathExists(moved) && PathExists(store); }));

    EXPECT_FALSE(KeepFile(second.c_str()));
    EXPECT_EQ(ReadWholeFile(second), "old image");
    WriteWholeFile(first, "new api");
    g_History.Record(PRGFILE, first.c_str());
    RollBack();

    EXPECT_TRUE(victim.Entries().empty());
    EXPECT_EQ(ReadWholeFile(moved + "\\QvApi.dll"), "old api") << "the kept file is lost";
    EXPECT_TRUE(RemoveSymbolicLink(store));
}

// A setup killed after it had moved files aside: the next run puts them back
// over what the killed run left, and leaves a store that is a link alone.
TEST_F(InstallHistoryTest, BackupsOfAKilledSetupArePutBack)
{
    TempFolder victim("qv_victim_");
    victim.AddFile("QvAgent.exe", "not ours");
    std::string stale = m_Temp / (std::string(BACKUP_FOLDER_PREFIX) + "1234");
    ASSERT_TRUE(CreateDirectoryA(stale.c_str(), nullptr));
    WriteWholeFile(stale + "\\QvAgent.exe", "old agent");
    WriteWholeFile(stale + "\\QvApi.dll", "old api");
    m_Temp.AddFile("QvAgent.exe", "half of a new agent");
    std::string link = m_Temp / (std::string(BACKUP_FOLDER_PREFIX) + "link");
    ASSERT_TRUE(MakeSymbolicLink(link, victim.Path()));

    RecoverInterruptedBackups(m_Temp.Path().c_str());

    EXPECT_EQ(ReadWholeFile(m_Temp / "QvAgent.exe"), "old agent");
    EXPECT_EQ(ReadWholeFile(m_Temp / "QvApi.dll"), "old api");
    EXPECT_FALSE(PathExists(stale));
    EXPECT_EQ(victim.Entries(), std::vector<std::string>{"QvAgent.exe"});
    EXPECT_TRUE(RemoveSymbolicLink(link));
}
