#include "RemovalScope.h"

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
    scope.sImageDir = "D:\\Pics\\Quorvane";
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
        TxString sTarget;
        EXPECT_EQ(filter.Accept(records[i], sTarget), CASES[i].bAccepted) << CASES[i].pszText;
    }
}

TEST(RecordFilter, GivesTheFullPathToRemove)
{
    RemovalScope scope = Scope();
    std::vector<InstallLogRecord> records = {
        {LogItemKind::ProgramFile, "C:/Apps/Quorvane/QvAgent.exe", 0}};
    TxString sTarget;
    ASSERT_TRUE(RecordFilter(scope, records).Accept(records[0], sTarget));
    EXPECT_STREQ(sTarget.GetText(), "C:\\Apps\\Quorvane\\QvAgent.exe");
}
} // namespace
