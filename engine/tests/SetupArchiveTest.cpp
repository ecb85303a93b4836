#include "CSetupDatFile.h"
#include "Environment.h"
#include "InstallSandbox.h"
#include "SetupArchive.h"
#include "SetupState.h"
#include "Sha256.h"
#include "StringTables.h"
#include "TestMedium.h"

#include <gtest/gtest.h>

namespace
{
class SetupArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override { SetDefaultTexts(); }
    void TearDown() override
    {
        g_InstallFiles.FreeAll();
        g_ImageFiles.FreeAll();
    }

    CInstallSandbox m_Sandbox;
};
} // namespace

TEST_F(SetupArchiveTest, OpenReportsWhatIsMissing)
{
    PrepareEnvironment(m_Sandbox.Medium("Setup.exe").c_str());
    std::string archive = m_Sandbox.Medium("Setup.dat");
    struct Case
    {
        const char* pszName;
        std::string expected;
    } cases[] = {
        {"missing", "Error|File " + archive + " not found. Cannot continue in installation."},
        {"foreign", "Error|Copy Error: " + archive},
        {"no texture", "Error|File " + m_Sandbox.Medium("Texture020.bmp") +
                           " not found. Cannot continue in installation."},
    };
    for (const Case& c : cases)
    {
        DeleteFileA(archive.c_str());
        if (std::string(c.pszName) == "foreign")
            WriteWholeFile(archive, std::string(200, 'x'));
        if (std::string(c.pszName) == "no texture")
        {
            TestArchive partial = PlanArchive();
            partial.erase("Texture020.bmp");
            WriteTestArchive(archive, partial);
        }
        CSetupDatFile dat;
        CFakeInstallView view;
        EXPECT_FALSE(OpenSetupArchive(dat, view)) << c.pszName;
        ASSERT_EQ(view.m_Messages.size(), 1u) << c.pszName;
        EXPECT_EQ(view.m_Messages[0], c.expected);
    }
    WriteTestArchive(archive, PlanArchive());
    CSetupDatFile dat;
    CFakeInstallView view;
    ASSERT_TRUE(OpenSetupArchive(dat, view));
    unsigned long long qwPlan = 0;
    for (const auto& [name, entry] : PlanArchive())
        qwPlan += entry.content.size();
    EXPECT_EQ(g_qwPrgSize, qwPlan);
}

// A sealed setup takes only the archive whose SHA-256 it carries; one byte
// changed anywhere in it gives the unreadable-archive box before the plan is
// looked at. Without a seal any intact archive is taken, as before.
TEST_F(SetupArchiveTest, SealedSetupTakesOnlyItsOwnArchive)
{
    PrepareEnvironment(m_Sandbox.Medium("Setup.exe").c_str());
    std::string archive = m_Sandbox.Medium("Setup.dat");
    WriteTestArchive(archive, PlanArchive());
    std::string bytes = ReadWholeFile(archive);
    unsigned char seal[SHA256_DIGEST_SIZE];
    CSha256 sha;
    sha.Update(bytes.data(), bytes.size());
    sha.Finish(seal);
    std::string changed = bytes;
    changed[changed.size() / 2] ^= 1;

    struct Case
    {
        const char* pszName;
        const std::string& content;
        const unsigned char* pbSeal;
        bool bOpens;
    } cases[] = {
        {"sealed, own archive", bytes, seal, true},
        {"sealed, one byte changed", changed, seal, false},
        {"not sealed, one byte changed", changed, nullptr, true},
    };
    for (const Case& c : cases)
    {
        WriteWholeFile(archive, c.content);
        CSetupDatFile dat;
        CFakeInstallView view;
        EXPECT_EQ(OpenSetupArchive(dat, view, c.pbSeal), c.bOpens) << c.pszName;
        std::vector<std::string> expected;
        if (!c.bOpens)
            expected.push_back("Error|Copy Error: " + archive);
        EXPECT_EQ(view.m_Messages, expected) << c.pszName;
    }
}
