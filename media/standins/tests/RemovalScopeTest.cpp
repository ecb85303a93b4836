#include "InstallChecks.h"
#include "RemovalScope.h"
#include "SetupState.h"

#include <gtest/gtest.h>

namespace
{
struct FilterCase
{
    LogItemKind Kind;
    const char* pszText;
    int iBlock;
    bool bAccepted;
};

// The folders of a made-up machine; none of them exists, so no level can be
// a link here (the plan's tests cover links).
RemovalScope Scope()
{
    RemovalScope scope;
    scope.sProgramDir = "C:\\Apps\\Quorvane";
    scope.ImageDirs = {"D:\\Pics\\Quorvane", "E:\\Earlier"};
    scope.sSystemDir = "C:\\Windows\\System32";
    scope.ShortcutDirs = {"C:\\Start\\Programs", "C:\\Users\\Me\\Desktop"};
    return scope;
}

const FilterCase CASES[] = {
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\QvAgent.exe", 0, true},
    {LogItemKind::ProgramFile, "c:\\apps\\quorvane\\Textures\\Texture001.bmp", 0, true},
    {LogItemKind::ProgramFile, "C:\\Apps\\QuorvaneX\\QvAgent.exe", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\..\\Other\\a.exe", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\.\\QvAgent.exe", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\\\QvAgent.exe", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\QvAgent.exe.", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\QvAgent.exe ", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\QvAgent.exe:stream", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\QvAgent.exe::$DATA", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\nul.txt", 0, false},
    {LogItemKind::ProgramFile, "C:\\Apps\\Quorvane\\COM1", 0, false},
    {LogItemKind::ProgramFile, "\\\\?\\C:\\Apps\\Quorvane\\QvAgent.exe", 0, false},
    {LogItemKind::ProgramFile, "\\\\.\\C:\\Apps\\Quorvane\\QvAgent.exe", 0, false},
    {LogItemKind::ProgramFile, "C:\\Windows\\System32\\Quorvane.scr", 0, true},
    {LogItemKind::ProgramFile, "C:\\Windows\\System32\\kernel32.dll", 0, false},
    {LogItemKind::ProgramFile, "C:\\Windows\\Quorvane.scr", 0, false},
    {LogItemKind::ProgramFile, "D:\\Pics\\Quorvane\\Dawn.jpg", 0, false},
    {LogItemKind::ImageFile, "D:\\Pics\\Quorvane\\Dawn.jpg", 0, true},
    {LogItemKind::ImageFile, "D:\\Pics\\Holiday.jpg", 0, false},
    // The image folder of an earlier installation, which a later one without
    // images no longer names as the last.
    {LogItemKind::ImageFile, "E:\\Earlier\\Dawn.jpg", 0, true},
    {LogItemKind::Folder, "E:\\Earlier", 0, true},
    {LogItemKind::ProgramFile, "E:\\Earlier\\Dawn.jpg", 0, false},
    {LogItemKind::Shortcut, "C:\\Start\\Programs\\Quorvane Manager.lnk", 0, true},
    {LogItemKind::Shortcut, "C:\\Users\\Me\\Desktop\\Quorvane Manager.lnk", 0, true},
    {LogItemKind::Shortcut, "C:\\Users\\Me\\Desktop\\Other.lnk", 0, false},
    {LogItemKind::Shortcut, "C:\\Users\\Me\\Quorvane Manager.lnk", 0, false},
    {LogItemKind::Folder, "C:\\Apps\\Quorvane", 0, true},
    {LogItemKind::Folder, "C:\\Apps\\Quorvane\\Textures", 0, true},
    {LogItemKind::Folder, "D:\\Pics\\Quorvane", 2, true},
    {LogItemKind::Folder, "C:\\Start\\Programs", 0, true},
    // A level above the program folder: only with every level below it
    // recorded in the same block, as the setup records what it makes.
    {LogItemKind::Folder, "C:\\Apps", 0, true},
    {LogItemKind::Folder, "C:\\Apps", 1, false},
    {LogItemKind::Folder, "D:\\Pics", 0, false},
    {LogItemKind::Folder, "C:\\", 0, false},
    {LogItemKind::Folder, "C:\\Windows", 0, false},
    {LogItemKind::Folder, "C:\\Users\\Me", 0, false},
    {LogItemKind::Autorun, "QuorvaneAgent", 0, true},
    {LogItemKind::Autorun, "OtherAgent", 0, false},
    {LogItemKind::UninstallEntry, "Quorvane", 0, true},
    {LogItemKind::UninstallEntry, "OtherProduct", 0, false},
};

TEST(RecordFilter, AcceptsOnlyWhatAnInstallationMakes)
{
    RemovalScope scope = Scope();
    std::vector<InstallLogRecord> records;
    for (const FilterCase& c : CASES)
        records.push_back({c.Kind, c.pszText, c.iBlock});
    // What the setup records when it makes C:\Apps\Quorvane in block 0.
    records.push_back({LogItemKind::Folder, "C:\\Apps\\Quorvane", 0});
    RecordFilter filter(scope, records);
    for (size_t i = 0; i < std::size(CASES); ++i)
    {
        AcceptedRecord accepted;
        EXPECT_EQ(filter.Accept(records[i], accepted), CASES[i].bAccepted) << CASES[i].pszText;
    }
}

TEST(RecordFilter, GivesTheFullPathToRemove)
{
    RemovalScope scope = Scope();
    std::vector<InstallLogRecord> records = {
        {LogItemKind::ProgramFile, "C:/Apps/Quorvane/QvAgent.exe", 0}};
    AcceptedRecord accepted;
    ASSERT_TRUE(RecordFilter(scope, records).Accept(records[0], accepted));
    EXPECT_STREQ(accepted.sTarget.GetText(), "C:\\Apps\\Quorvane\\QvAgent.exe");
    EXPECT_STREQ(accepted.sRoot.GetText(), "C:\\Apps\\Quorvane");
}

// The install step and the uninstaller judge folders by one rule: what the
// setup installs into, the uninstaller removes, record by record; what the
// uninstaller would refuse, the setup does not install into.
TEST(RecordFilter, AgreesWithTheInstallStepOnFolders)
{
    const char* FOLDERS[] = {
        "C:\\Apps\\Quorvane",  "C:/Apps/Quorvane",        "\\\\server\\share\\Quorvane",
        "C:\\Apps\\Quorvane.", "C:\\Apps \\Quorvane",     "C:\\Apps\\\\Quorvane",
        "C:\\Apps\\Quorvane/", "C:\\Apps\\.\\Quorvane",   "C:\\Apps\\..\\Quorvane",
        "C:\\Apps\\Quor:vane", "C:\\Apps\\NUL\\Quorvane", "\\\\?\\C:\\Apps\\Quorvane",
        "C:\\Apps\\Quor*vane", "Apps\\Quorvane",          "C:Quorvane",
    };
    for (const char* pszFolder : FOLDERS)
    {
        bool bSetupInstalls = RefusedTargetFolder(pszFolder, nullptr) == nullptr;
        EXPECT_EQ(RefusedTargetFolder("C:\\Apps\\Quorvane", pszFolder) == nullptr, bSetupInstalls)
            << "as image folder: " << pszFolder;
        // The records an installation into the folder writes, as the engine
        // joins them, and the scope the uninstaller finds beside its log.
        TxString sLog = JoinPath(pszFolder, "Install.log");
        TxString sTextures = JoinPath(pszFolder, "Textures");
        std::vector<InstallLogRecord> records = {
            {LogItemKind::Folder, pszFolder, 0},
            {LogItemKind::Folder, sTextures, 0},
            {LogItemKind::ProgramFile, JoinPath(pszFolder, "QvAgent.exe"), 0},
            {LogItemKind::ProgramFile, JoinPath(sTextures.GetText(), "Texture001.bmp"), 0},
            {LogItemKind::ProgramFile, sLog, 0},
        };
        RemovalScope scope = RemovalScope::ForLog(sLog.GetText());
        scope.ImageDirs.clear();
        RecordFilter filter(scope, records);
        bool bUninstallerRemoves = true;
        for (const InstallLogRecord& record : records)
        {
            AcceptedRecord accepted;
            bUninstallerRemoves = bUninstallerRemoves && filter.Accept(record, accepted);
        }
        EXPECT_EQ(bSetupInstalls, bUninstallerRemoves) << pszFolder;
    }
}
} // namespace
