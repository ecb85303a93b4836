#include "InstallChecks.h"

#include "IMessageView.h"
#include "ProgramFolderCheck.h"
#include "StringTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>
#include <windows.h>

namespace
{
// Probes that answer from sets of writable folders and record every call.
class FakeProbes : public IRightsProbes
{
public:
    std::set<std::string> folderOk, fileOk;
    bool bValueExists = false;
    bool bRegistryWritable = true;
    std::vector<std::string> calls;

    bool CanCreateFolderIn(const char* pszPath) override
    {
        calls.push_back(std::string("folder ") + pszPath);
        return folderOk.count(pszPath) > 0;
    }
    bool CanCreateFileIn(const char* pszPath) override
    {
        calls.push_back(std::string("file ") + pszPath);
        return fileOk.count(pszPath) > 0;
    }
    bool AutorunExists(const char* pszValue) override
    {
        calls.push_back(std::string("exists ") + pszValue);
        return bValueExists;
    }
    bool SetAutorun(const char* pszValue, const char* pszData) override
    {
        calls.push_back(std::string("set ") + pszValue + "=" + pszData);
        return bRegistryWritable;
    }
    void RemoveAutorun(const char* pszValue) override
    {
        calls.push_back(std::string("remove ") + pszValue);
    }
};

FakeProbes AllowingEverything()
{
    FakeProbes probes;
    probes.folderOk = {"D:\\Q"};
    probes.fileOk = {"D:\\Q", "C:\\W", "C:\\W\\S"};
    return probes;
}

RightsCheck Check(FakeProbes& probes)
{
    return CheckRights(probes, "D:\\Q", "C:\\W", "C:\\W\\S");
}

constexpr unsigned long long MiB = 1024 * 1024;
} // namespace

TEST(InstallChecksTest, RightsAskedInOrderAndRegistryProbeCleanedUp)
{
    FakeProbes probes = AllowingEverything();
    EXPECT_EQ(Check(probes), RIGHTS_OK);
    EXPECT_EQ(probes.calls, (std::vector<std::string>{"folder D:\\Q", "file D:\\Q", "file C:\\W",
                                                      "file C:\\W\\S", "exists t_e_s_t",
                                                      "set t_e_s_t=t_e_s_t", "remove t_e_s_t"}));
}

TEST(InstallChecksTest, FirstFailedProbeDecides)
{
    struct Case
    {
        const char* pszName;
        void (*breakIt)(FakeProbes&);
        RightsCheck expected;
        size_t nCalls;
    };
    const Case cases[] = {
        {"folder", [](FakeProbes& p) { p.folderOk.clear(); }, RIGHTS_NO_FOLDER, 1},
        {"file", [](FakeProbes& p) { p.fileOk.erase("D:\\Q"); }, RIGHTS_NO_FILE, 2},
        {"windows", [](FakeProbes& p) { p.fileOk.erase("C:\\W"); }, RIGHTS_NO_SYSTEM_FILE, 3},
        {"system", [](FakeProbes& p) { p.fileOk.erase("C:\\W\\S"); }, RIGHTS_NO_SYSTEM_FILE, 4},
        {"registry", [](FakeProbes& p) { p.bRegistryWritable = false; }, RIGHTS_NO_REGISTRY, 7},
    };
    for (const Case& c : cases)
    {
        FakeProbes probes = AllowingEverything();
        c.breakIt(probes);
        EXPECT_EQ(Check(probes), c.expected) << c.pszName;
        EXPECT_EQ(probes.calls.size(), c.nCalls) << c.pszName;
    }
}

TEST(InstallChecksTest, ExistingProbeValueCountsAsAccessAndStays)
{
    FakeProbes probes = AllowingEverything();
    probes.bValueExists = true;
    probes.bRegistryWritable = false;
    EXPECT_EQ(Check(probes), RIGHTS_OK);
    EXPECT_EQ(probes.calls.back(), "exists t_e_s_t");
}

TEST(InstallChecksTest, FailureTexts)
{
    SetDefaultTexts();
    EXPECT_STREQ(RightsFailureText(RIGHTS_NO_FOLDER, "D:\\Q").GetText(),
                 "Cannot create folders in D:\\Q. Be sure you run this setup program with "
                 "sufficient (administrator) rights.");
    EXPECT_STREQ(RightsFailureText(RIGHTS_NO_FILE, "D:\\Q").GetText(),
                 "Cannot create files in D:\\Q. Be sure you run this setup program with "
                 "sufficient (administrator) rights.");
    EXPECT_STREQ(RightsFailureText(RIGHTS_NO_SYSTEM_FILE, "D:\\Q").GetText(),
                 "Cannot create files. Be sure you run this setup program with sufficient "
                 "(administrator) rights.");
    EXPECT_STREQ(RightsFailureText(RIGHTS_NO_REGISTRY, "D:\\Q").GetText(),
                 "Cannot write to Windows Registry. Be sure you run this setup program with "
                 "sufficient (administrator) rights.");
    EXPECT_STREQ(RightsFailureText(RIGHTS_OK, "D:\\Q").GetText(), "");
    // A folder that looks like a format is only a text.
    EXPECT_STREQ(RightsFailureText(RIGHTS_NO_FILE, "C:\\%s%n").GetText(),
                 "Cannot create files in C:\\%s%n. Be sure you run this setup program with "
                 "sufficient (administrator) rights.");
}

TEST(InstallChecksTest, RefusedTargetFoldersAreNamed)
{
    struct Case
    {
        const char* pszDst;
        const char* pszImg;
        const char* pszRelative; // null for none
    } cases[] = {
        {"C:\\Programs\\Quorvane", "D:/Pictures", nullptr},
        {"C:", nullptr, nullptr},
        {"\\\\server\\share\\Quorvane", "//server/share", nullptr},
        {"..\\Quorvane", "C:\\Pictures", "..\\Quorvane"},
        {"C:\\Programs", "Pictures", "Pictures"},
        {"C:\\Programs", nullptr, nullptr}, // no images, no image folder
        {"\\Quorvane", nullptr, "\\Quorvane"},
        {"C:Quorvane", nullptr, "C:Quorvane"},
        {" C:\\Quorvane", nullptr, " C:\\Quorvane"},
        {"\\\\server", nullptr, "\\\\server"},
        {"\\\\\\share", nullptr, "\\\\\\share"},
        {"", nullptr, ""},
        // Full, but not plain: the uninstaller could not remove what is
        // installed there (RecordFilter.AgreesWithTheInstallStepOnFolders).
        {"C:\\Games\\Quorvane.", nullptr, "C:\\Games\\Quorvane."},
        {"C:\\Games \\Quorvane", nullptr, "C:\\Games \\Quorvane"},
        {"C:\\Games\\\\Quorvane", nullptr, "C:\\Games\\\\Quorvane"},
        {"C:\\Games\\", nullptr, "C:\\Games\\"},
        {"C:\\Programs", "D:\\Pictures\\..\\Mine", "D:\\Pictures\\..\\Mine"},
        {"C:\\", nullptr, nullptr},
    };
    for (const Case& c : cases)
    {
        const char* pszRelative = RefusedTargetFolder(c.pszDst, c.pszImg);
        EXPECT_STREQ(pszRelative != nullptr ? pszRelative : "(none)",
                     c.pszRelative != nullptr ? c.pszRelative : "(none)")
            << c.pszDst;
    }
}

TEST(InstallChecksTest, FreeSpaceDecisions)
{
    struct Case
    {
        const char* pszName;
        bool bSameDrive;
        unsigned long long qwProgram, qwImages, qwFreeDst, qwFreeImg;
        bool bEnough;
    };
    const Case cases[] = {
        {"reserve counts once on one drive", true, 1 * MiB, 1 * MiB, 6 * MiB, 100 * MiB, false},
        {"exactly enough on one drive", true, 1 * MiB, 1 * MiB, 7 * MiB, 0, true},
        {"image drive ignored without images", false, 1 * MiB, 0, 6 * MiB, 0, true},
        {"program drive too small", false, 2 * MiB, 0, 6 * MiB, 100 * MiB, false},
        {"image drive too small", false, 1 * MiB, 1 * MiB, 100 * MiB, 6 * MiB - 1, false},
        {"image drive exactly enough", false, 1 * MiB, 1 * MiB, 100 * MiB, 6 * MiB, true},
        {"nothing to install still needs the reserve", true, 0, 0, 5 * MiB - 1, 0, false},
        {"no free space", true, 1, 0, 0, 0, false},
        {"image folder without a drive", false, 1 * MiB, 1 * MiB, 100 * MiB, ~0ull, true},
        {"huge free space stays positive", true, 1 * MiB, 0, ~0ull, 0, true},
        {"huge image size cannot wrap", false, 1 * MiB, ~0ull, 100 * MiB, 100 * MiB, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnoughFreeSpace(c.bSameDrive, c.qwProgram, c.qwImages, c.qwFreeDst, c.qwFreeImg),
                  c.bEnough)
            << c.pszName;
}

namespace
{
class RecordingView : public IMessageView
{
public:
    std::vector<std::string> boxes; // caption + "|" + text

    int ShowMessage(const char* pszText, const char* pszCaption, unsigned) override
    {
        boxes.push_back(std::string(pszCaption) + "|" + pszText);
        return IDOK;
    }
};
// A program folder in the given state that never takes a lock.
class FixedFolder : public IProgramFolder
{
public:
    explicit FixedFolder(FolderState state) : m_State(state) {}
    FolderState Inspect(const char*) override { return m_State; }
    bool LockForPrograms(const char*) override { return false; }

private:
    FolderState m_State;
};

} // namespace

// The list both the install step and the unattended installation run.
TEST(InstallChecksTest, EveryCheckRunsAndTellsThroughTheView)
{
    SetDefaultTexts();
    const std::string sRights = "Insufficient rights|Cannot create folders in ";
    const std::string sSpace =
        "Cannot install|There is not enough free space on the destination disk.";
    const std::string sRightsTail =
        ". Be sure you run this setup program with sufficient (administrator) rights.";
    struct Case
    {
        const char* pszName;
        const char* pszImgDstDir;
        bool bWritable;
        unsigned long long qwFreeDst;
        std::vector<std::string> boxes;
        FolderState folder = FOLDER_ABSENT;
    };
    const Case cases[] = {
        {"all pass", "E:\\P", true, 100 * MiB, {}},
        {"both fail, both told",
         "E:\\P",
         false,
         1 * MiB,
         {sRights + "D:\\Q" + sRightsTail, sSpace}},
        {"relative image folder, before any probe",
         "Pictures",
         true,
         100 * MiB,
         {sRights + "Pictures" + sRightsTail}},
        {"program folder a link, before any probe",
         "E:\\P",
         true,
         100 * MiB,
         {"Cannot install|D:\\Q is a link to another folder. The setup does not install into a "
          "link. Press the \"Previous\" button and choose another folder."},
         FOLDER_LINK},
    };
    for (const Case& c : cases)
    {
        FakeProbes probes = c.bWritable ? AllowingEverything() : FakeProbes();
        RecordingView view;
        FixedFolder folder(c.folder);
        InstallCheckContext context = {"D:\\Q",   c.pszImgDstDir, "C:\\W", "C:\\W\\S",
                                       false,     1 * MiB,        1 * MiB, c.qwFreeDst,
                                       100 * MiB, probes,         view,    folder};
        EXPECT_EQ(RunInstallChecks(context), c.boxes.empty()) << c.pszName;
        EXPECT_EQ(view.boxes, c.boxes) << c.pszName;
        if (std::string(c.pszImgDstDir) == "Pictures" || c.folder == FOLDER_LINK)
        {
            EXPECT_TRUE(probes.calls.empty()) << c.pszName;
        }
    }
}
