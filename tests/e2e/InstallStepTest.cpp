// The install step: Stop while copying, and the checks that keep Start
// disabled.
#include "InstallExpectations.h"
#include "MessagePump.h"
#include "SetupE2eTest.h"
#include "WindowQuery.h"

#include <aclapi.h>

class InstallStepTest : public SetupE2eTest
{
protected:
    int CopiedFiles() const
    {
        int iCount = 0;
        for (int i = m_Log.Find("Copying "); i >= 0; i = m_Log.Find("Copying ", i + 1))
            ++iCount;
        return iCount;
    }

    void ExpectStopQuestion(const MessageBoxInfo& box)
    {
        const UiTexts& t = m_Wizard.Texts();
        ASSERT_NE(box.hWnd, nullptr) << "no stop question";
        EXPECT_EQ(box.sCaption, t.sStopRequested);
        EXPECT_EQ(box.sText, t.sWantToCancel);
        EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(DefaultButton(box), IDYES);
        // Copying waits while the question is open.
        int iCopied = CopiedFiles();
        EXPECT_GE(iCopied, 1);
        EXPECT_LT(iCopied, 33);
        PumpFor(200);
        EXPECT_EQ(CopiedFiles(), iCopied);
    }

    // Answers a check's box and expects Start disabled afterwards.
    void ExpectCheckBox(const std::string& sCaption, const std::string& sText)
    {
        MessageBoxInfo box = m_Wizard.WaitForBox();
        ASSERT_NE(box.hWnd, nullptr) << "no box " << sCaption;
        EXPECT_EQ(box.sCaption, sCaption);
        EXPECT_EQ(box.sText, sText);
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        ASSERT_TRUE(Answer(box, IDOK));
    }

    void ExpectNotReady(HWND hInstall)
    {
        const UiTexts& t = m_Wizard.Texts();
        ASSERT_EQ(m_Wizard.WaitForStep(INSTALL_CLASS), hInstall);
        EXPECT_EQ(m_Wizard.Title(hInstall), t.sNotReadyToInstall);
        HWND hStart = m_Wizard.Button(hInstall, t.sStart);
        ASSERT_NE(hStart, nullptr);
        EXPECT_FALSE(IsWindowEnabled(hStart));
        EXPECT_TRUE(IsUsable(m_Wizard.Button(hInstall, t.sPrevious)));
    }
};

TEST_F(InstallStepTest, StopAnsweredNoGoesOnCopying)
{
    MakeMedium();
    StartSetup();
    HWND hInstall = WalkToInstallStep(true);
    MessageBoxInfo box = StartAndStop(hInstall);
    ExpectStopQuestion(box);
    ASSERT_TRUE(Answer(box, IDNO));
    // Enter presses Stop again.
    HWND hStop = m_Wizard.Button(hInstall, m_Wizard.Texts().sStop);
    EXPECT_EQ(WaitForFocus(hInstall, hStop), hStop);

    HWND hBye = m_Wizard.WaitForStep(BYE_CLASS, 60000);
    ASSERT_NE(hBye, nullptr);
    EXPECT_TRUE(ShowsText(hBye, "Static", m_Wizard.Texts().sSetupSuccessful));
    CloseFinishStep(hBye, false);
    EXPECT_EQ(CopiedFiles(), 33);
    ExpectProgramFiles(m_Paths, "ENGLISH");
    ExpectSystemConfiguration(m_Paths, true);
}

TEST_F(InstallStepTest, StopAnsweredYesRollsEverythingBack)
{
    MakeMedium();
    StartSetup();
    MessageBoxInfo box = StartAndStop(WalkToInstallStep(true));
    ExpectStopQuestion(box);
    ASSERT_TRUE(Answer(box, IDYES));

    HWND hBye = m_Wizard.WaitForStep(BYE_CLASS, 60000);
    ASSERT_NE(hBye, nullptr);
    const UiTexts& t = m_Wizard.Texts();
    EXPECT_TRUE(ShowsText(hBye, "Static", t.sSetupUnsuccessful));
    EXPECT_EQ(FindChild(hBye, "Button", t.sRunManagerNow), nullptr) << "check box shown";
    // The show handler has rolled back before the step became visible.
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
    CloseFinishStep(hBye, true, 1602);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
    EXPECT_GE(m_Log.Find("RollBack"), 0);
    EXPECT_LT(m_Log.Find("TFormStepBye::SaveUninstallInfo"), 0);
    EXPECT_TRUE(ProcessesOf(JoinPath(m_Paths.sProgramDir, "QvManag.exe")).empty());
}

TEST_F(InstallStepTest, NotEnoughSpaceKeepsStartDisabled)
{
    MediumOptions options;
    options.iImages = 1;
    // Far more than the disk holds; the random choice proposes all images.
    options.qwHugeImage = 1ull << 40;
    MakeMedium(options);
    StartSetup();
    HWND hInstall = WalkToInstallStep(true);
    ASSERT_NE(hInstall, nullptr);
    ExpectCheckBox("Cannot install", "There is not enough free space on the destination disk.");
    ExpectNotReady(hInstall);
    EXPECT_TRUE(ShowsText(hInstall, "Static",
                          "The Setup cannot start the installation. Press the \"Previous\" button "
                          "to correct installation options."));
    ConfirmCancelAndExit(hInstall);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
}

TEST_F(InstallStepTest, FailedRightsProbeKeepsStartDisabledUntilCorrected)
{
    const UiTexts& t = m_Wizard.Texts();
    HWND hOptions = StartAtOptionsStep(0);
    ASSERT_NE(hOptions, nullptr);
    // No drive Q: in the prefix: no folder can be made there.
    const std::string sNoRights = "Q:\\Quorvane";
    ASSERT_TRUE(TypeText(FindChild(hOptions, "Edit", m_Paths.sProgramDir), sNoRights));
    ASSERT_TRUE(m_Wizard.Press(hOptions, t.sNext));
    HWND hInstall = m_Wizard.WaitForInstallStep();
    ASSERT_NE(hInstall, nullptr);
    ExpectCheckBox("Insufficient rights",
                   "Cannot create folders in " + sNoRights +
                       ". Be sure you run this setup program with sufficient (administrator) "
                       "rights.");
    // The space check runs as well; a drive that is not there has no room.
    MessageBoxInfo box = m_Wizard.WaitForBox(2000);
    if (box.hWnd != nullptr)
    {
        EXPECT_EQ(box.sCaption, "Cannot install");
        ASSERT_TRUE(Answer(box, IDOK));
    }
    ExpectNotReady(hInstall);

    // Back, a folder that can be made, and the checks pass on the next showing.
    hOptions = m_Wizard.PressAndWait(hInstall, t.sPrevious, OPTIONS_CLASS);
    ASSERT_NE(hOptions, nullptr);
    ASSERT_TRUE(TypeText(FindChild(hOptions, "Edit", sNoRights), m_Paths.sProgramDir));
    ASSERT_TRUE(m_Wizard.Press(hOptions, t.sNext));
    hInstall = m_Wizard.WaitForInstallStep();
    ASSERT_NE(hInstall, nullptr);
    EXPECT_FALSE(HasMessageBox(m_Wizard.ProcessId()));
    EXPECT_EQ(m_Wizard.Title(hInstall), t.sReadyToInstall);
    EXPECT_TRUE(IsUsable(m_Wizard.Button(hInstall, t.sStart)));
    ConfirmCancelAndExit(hInstall);
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
}

namespace
{
// Everything in a folder, folders and hidden entries included.
std::vector<std::string> EntriesOf(const std::string& sFolder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(JoinPath(sFolder, "*").c_str(), &data);
    for (bool bFound = hFind != INVALID_HANDLE_VALUE; bFound; bFound = FindNextFileA(hFind, &data))
        if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..")
            names.push_back(data.cFileName);
    if (hFind != INVALID_HANDLE_VALUE)
        FindClose(hFind);
    return names;
}

// Wine shows a folder every Unix user may write with Everyone allowed to add.
bool OthersMayAdd(const std::string& sFolder)
{
    PACL pDacl = nullptr;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (GetNamedSecurityInfoA(sFolder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &pDacl, nullptr, &pDescriptor) != ERROR_SUCCESS)
        return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    BYTE everyone[SECURITY_MAX_SID_SIZE];
    InitializeSid(everyone, &world, 1);
    *GetSidSubAuthority(everyone, 0) = SECURITY_WORLD_RID;
    bool bAdd = false;
    for (DWORD i = 0; pDacl != nullptr && i < pDacl->AceCount; ++i)
    {
        ACCESS_ALLOWED_ACE* pAce = nullptr;
        if (GetAce(pDacl, i, reinterpret_cast<void**>(&pAce)) &&
            EqualSid(&pAce->SidStart, everyone) && (pAce->Mask & FILE_ADD_FILE) != 0)
            bAdd = true;
    }
    LocalFree(pDescriptor);
    return bAdd;
}
} // namespace

TEST_F(InstallStepTest, ProgramFolderThatIsALinkIsNotInstalledInto)
{
    MakeMedium();
    std::string sElsewhere = m_Work / "elsewhere";
    ASSERT_TRUE(MakeFolders(sElsewhere));
    ASSERT_TRUE(MakeSymbolicLink(m_Paths.sProgramDir, sElsewhere));
    StartSetup();
    HWND hInstall = WalkToInstallStep(true);
    ASSERT_NE(hInstall, nullptr);
    ExpectCheckBox("Cannot install", m_Paths.sProgramDir +
                                         " is a link to another folder. The setup does not "
                                         "install into a link. Press the \"Previous\" button "
                                         "and choose another folder.");
    ExpectNotReady(hInstall);
    ConfirmCancelAndExit(hInstall);
    // Not even a probe went where the link leads.
    EXPECT_TRUE(EntriesOf(sElsewhere).empty());
    EXPECT_TRUE(RemoveSymbolicLink(m_Paths.sProgramDir));
}

TEST_F(InstallStepTest, ProgramFolderOpenToOthersIsUsedOnlyOnceLocked)
{
    const UiTexts& t = m_Wizard.Texts();
    MakeMedium();
    const std::string& sDir = m_Paths.sProgramDir;
    ASSERT_TRUE(MakeFolders(sDir));
    ASSERT_TRUE(RunUnixTool("/bin/chmod", "0777 \"" + WineUnixPath(sDir) + "\"",
                            [&] { return OthersMayAdd(sDir); }));
    const std::string sQuestion =
        "Other users can change the files in " + sDir +
        " and could replace the programs that administrators run from there.\n\nDo you want to "
        "make the folder and everything in it writable by administrators only? If you answer "
        "No, the setup does not install into this folder.";
    StartSetup();
    HWND hInstall = WalkToInstallStep(true);
    ASSERT_NE(hInstall, nullptr);
    for (int iAnswer : {IDNO, IDYES})
    {
        MessageBoxInfo box = m_Wizard.WaitForBox();
        ASSERT_NE(box.hWnd, nullptr) << "no question";
        EXPECT_EQ(box.sCaption, "Unprotected Folder");
        EXPECT_EQ(box.sText, sQuestion);
        EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(DefaultButton(box), IDNO);
        ASSERT_TRUE(Answer(box, iAnswer));
        if (iAnswer == IDNO)
        {
            ExpectNotReady(hInstall);
            EXPECT_TRUE(OthersMayAdd(sDir));
            // Asked again on the next showing.
            HWND hImages = m_Wizard.PressAndWait(hInstall, t.sPrevious, IMAGES_CLASS);
            ASSERT_NE(hImages, nullptr);
            ASSERT_TRUE(m_Wizard.Press(hImages, t.sNext));
            hInstall = m_Wizard.WaitForInstallStep();
            ASSERT_NE(hInstall, nullptr);
        }
    }
    ASSERT_EQ(m_Wizard.WaitForStep(INSTALL_CLASS), hInstall);
    EXPECT_EQ(m_Wizard.Title(hInstall), t.sReadyToInstall);
    EXPECT_TRUE(IsUsable(m_Wizard.Button(hInstall, t.sStart)));
    EXPECT_FALSE(OthersMayAdd(sDir));
    ConfirmCancelAndExit(hInstall);
}

// "Install.log" and the probes' names planted as links in the program
// folder: the installation goes on, and nothing is written through them.
TEST_F(InstallStepTest, LogAndProbeNamesPlantedAsLinksAreNotWrittenThrough)
{
    MakeMedium();
    const std::string& sDir = m_Paths.sProgramDir;
    ASSERT_TRUE(MakeFolders(sDir));
    std::string sOutside = m_Work / "outside";
    ASSERT_TRUE(MakeFolders(sOutside));
    std::string sSentinel = JoinPath(sOutside, "sentinel.txt");
    std::string sMissing = JoinPath(sOutside, "made.txt");
    ASSERT_TRUE(WriteWholeFile(sSentinel, "sentinel"));
    ASSERT_TRUE(MakeSymbolicLink(JoinPath(sDir, "Install.log"), sSentinel));
    ASSERT_TRUE(MakeSymbolicLink(JoinPath(sDir, "t_e_s_t"), sSentinel));
    // A link to a file that is not there (Wine lists it only while it is).
    ASSERT_TRUE(WriteWholeFile(sMissing, ""));
    ASSERT_TRUE(MakeSymbolicLink(JoinPath(sDir, "t_e_s_t.txt"), sMissing));
    ASSERT_TRUE(DeleteFileA(sMissing.c_str()));

    StartSetup();
    HWND hBye = InstallAndWaitForFinish(WalkToInstallStep(true));
    ASSERT_NE(hBye, nullptr);
    EXPECT_TRUE(ShowsText(hBye, "Static", m_Wizard.Texts().sSetupSuccessful));
    CloseFinishStep(hBye, false);

    std::string sBytes;
    EXPECT_TRUE(ReadBytes(sSentinel, sBytes));
    EXPECT_EQ(sBytes, "sentinel");
    EXPECT_FALSE(FileExists(sMissing));
    EXPECT_GE(
        m_Log.Find("Cannot test folder creation - already exists: " + JoinPath(sDir, "t_e_s_t")),
        0);
    EXPECT_GE(
        m_Log.Find("Cannot test file creation - already exists: " + JoinPath(sDir, "t_e_s_t.txt")),
        0);
    EXPECT_GE(m_Log.Find("AppendInstallLogBlock - refused " + JoinPath(sDir, "Install.log")), 0);
    // The block went to a new log beside the one refused.
    std::vector<std::string> logs = ListFiles(sDir, "Install.*.log");
    ASSERT_EQ(logs.size(), 1u);
    ASSERT_TRUE(ReadBytes(JoinPath(sDir, logs[0]), sBytes));
    EXPECT_NE(sBytes.find("S_PRGFILE " + JoinPath(sDir, "QvAgent.exe") + "\r\n"),
              std::string::npos);

    ASSERT_TRUE(WriteWholeFile(sMissing, ""));
    for (const char* pszLink : {"Install.log", "t_e_s_t", "t_e_s_t.txt"})
        EXPECT_TRUE(RemoveSymbolicLink(JoinPath(sDir, pszLink))) << pszLink;
}
