// A medium whose archive is missing, foreign, incomplete or not the one the
// setup was sealed with: one box, and the setup ends before the welcome step.
#include "SetupE2eTest.h"

struct ArchiveFailure
{
    const char* pszName;
    MediumOptions options;
    // The box text and the log line, "%s" standing for the named path;
    // the path is the medium's folder followed by pszFile.
    const char* pszFile;
    const char* pszBoxText;
    const char* pszLogLine;
    // The start of the line that says why, where it is not the one above.
    const char* pszReason = nullptr;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const ArchiveFailure& failure, std::ostream* pStream)
{
    *pStream << failure.pszName;
}

class ArchiveFailureTest : public SetupE2eTest, public ::testing::WithParamInterface<ArchiveFailure>
{
};

namespace
{
std::string Replace(const std::string& sTemplate, const std::string& sPath)
{
    std::string s = sTemplate;
    size_t nAt = s.find("%s");
    return nAt == std::string::npos ? s : s.replace(nAt, 2, sPath);
}

MediumOptions Options(bool bArchive, bool bForeign, const char* pszOmit)
{
    MediumOptions options;
    options.bArchive = bArchive;
    options.bForeignSignature = bForeign;
    options.sOmitFromArchive = pszOmit;
    return options;
}

MediumOptions Sealed(bool bChangedAfterSeal)
{
    MediumOptions options;
    options.bSealed = true;
    options.bChangedAfterSeal = bChangedAfterSeal;
    return options;
}
} // namespace

TEST_P(ArchiveFailureTest, ShowsTheBoxAndEndsBeforeTheWelcomeStep)
{
    const ArchiveFailure& failure = GetParam();
    MakeMedium(failure.options);
    StartSetup();
    std::string sPath = MediumFile(failure.pszFile);

    MessageBoxInfo box = m_Wizard.WaitForBox();
    ASSERT_NE(box.hWnd, nullptr) << "no box";
    EXPECT_EQ(box.sCaption, "Error");
    EXPECT_EQ(box.sText, Replace(failure.pszBoxText, sPath));
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(m_Wizard.Visible(WELCOME_CLASS), nullptr);
    ASSERT_TRUE(Answer(box, IDOK));
    ExpectSetupEnded(1603);

    EXPECT_TRUE(m_Log.HasMessage(Replace(failure.pszLogLine, sPath)));
    if (failure.pszReason != nullptr)
    {
        EXPECT_GE(m_Log.Find(Replace(failure.pszReason, sPath)), 0) << failure.pszReason;
    }
    EXPECT_LT(m_Log.Find("Switching to language"), m_Log.Find("File "))
        << "the languages are loaded before the archive is opened";
    EXPECT_TRUE(ProductTraces(m_Paths).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Medium, ArchiveFailureTest,
    ::testing::Values(
        ArchiveFailure{"MissingArchive", Options(false, false, ""), "Setup.dat",
                       "File %s not found. Cannot continue in installation.",
                       "File %s not found! Aborting installation."},
        ArchiveFailure{"ForeignSignature", Options(true, true, ""), "Setup.dat", "Copy Error: %s",
                       "File %s cannot be open! Aborting installation."},
        ArchiveFailure{"PlanFileMissing", Options(true, false, "Texture020.bmp"), "Texture020.bmp",
                       "File %s not found. Cannot continue in installation.",
                       "File %s not found! Aborting installation."},
        ArchiveFailure{"ChangedAfterSealing", Sealed(true), "Setup.dat", "Copy Error: %s",
                       "File %s cannot be open! Aborting installation.",
                       "OpenSetupArchive - not the archive this setup was sealed "
                       "with: path=%s, sealed="}),
    [](const ::testing::TestParamInfo<ArchiveFailure>& info)
    { return std::string(info.param.pszName); });

// The setup sealed with its own archive opens it and goes on to the welcome
// step, saying so in its log.
TEST_F(ArchiveFailureTest, SealedSetupOpensItsOwnArchive)
{
    MakeMedium(Sealed(false));
    StartSetup();
    HWND hWelcome = m_Wizard.WaitForStep(WELCOME_CLASS);
    ASSERT_NE(hWelcome, nullptr);
    EXPECT_TRUE(m_Log.HasMessage("OpenSetupArchive - archive matches the seal: path=" +
                                 MediumFile("Setup.dat")));
    ConfirmCancelAndExit(hWelcome);
}
