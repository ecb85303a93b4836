#include "CLog.h"
#include "LogReceiverWindow.h"
#include "TestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace
{
// A file log of its own with split and wrap on; the global log is restarted
// afterwards, as any CLog sets the shared enabled flag.
class FileLogTest : public ::testing::Test
{
protected:
    void TearDown() override { g_Log.Restart(g_SetupLogConfig); }

    // Logs each message through a fresh CLog and returns the file's lines
    // without their CR LF; every line must end in CR LF.
    std::vector<std::string> LogToFile(const std::vector<std::string>& messages,
                                       bool bTimeStamp = false)
    {
        CLogConfig config = {"Setup     ", "", true, 80, true, false, bTimeStamp};
        std::string path = m_Folder.Child("log.txt");
        {
            CLog log(config);
            log.OpenFile(path.c_str());
            EXPECT_TRUE(g_bLogEnabled);
            for (const std::string& message : messages)
                log.Printf("%s", message.c_str());
        }
        std::string bytes = ReadWholeFile(path);
        std::vector<std::string> lines;
        for (size_t i = 0; i < bytes.size();)
        {
            size_t iEnd = bytes.find("\r\n", i);
            EXPECT_NE(iEnd, std::string::npos);
            if (iEnd == std::string::npos)
                break;
            lines.push_back(bytes.substr(i, iEnd - i));
            i = iEnd + 2;
        }
        return lines;
    }

    // A file line without time stamp: thread id, 7 spaces, text.
    static std::string FileLine(const std::string& text)
    {
        return LogCapture::Prefix().substr(11) + text;
    }

    TempFolder m_Folder;
};

SYSTEMTIME MakeTime(WORD wYear, WORD wMonth, WORD wDay, WORD wHour, WORD wMinute, WORD wSecond)
{
    SYSTEMTIME st = {};
    st.wYear = wYear;
    st.wMonth = wMonth;
    st.wDay = wDay;
    st.wHour = wHour;
    st.wMinute = wMinute;
    st.wSecond = wSecond;
    return st;
}
} // namespace

TEST(CLogReceiver, LineLayoutByteForByte)
{
    LogCapture log;
    ASSERT_TRUE(log.IsReady());
    TX_LOG("value=%d, name=%s", 42, "x");
    ASSERT_EQ(log.Data().size(), 1u);
    const std::string& data = log.Data()[0];
    char szExpected[64];
    std::snprintf(szExpected, sizeof(szExpected), "Setup      %08lx       value=42, name=x",
                  GetCurrentThreadId());
    // cbData is the length plus one: the data ends in exactly one zero.
    EXPECT_EQ(data, std::string(szExpected, std::strlen(szExpected) + 1));

    g_Log.Lock();
    std::strcpy(g_Log.Buffer(), "tagged");
    g_Log.Print("ab");
    g_Log.Unlock();
    EXPECT_EQ(log.Messages().back(), "tagged");
    EXPECT_EQ(log.Data().back().substr(19, 7), "   ab  ");
}

TEST(CLogReceiver, IndentFollowsEnterAndLeave)
{
    LogCapture log;
    TX_LOG_LEAVE(); // at 0 it stays 0
    EXPECT_EQ(g_Log.GetIndent(), 0);
    TX_LOG_ENTER("RollBack");
    TX_LOG("inside");
    TX_LOG_LEAVE();
    TX_LOG("outside");
    EXPECT_EQ(log.Messages(), (std::vector<std::string>{"RollBack", "  inside", "outside"}));

    for (int i = 0; i < 21; ++i)
        TX_LOG_ENTER("level");
    EXPECT_EQ(g_Log.GetIndent(), 40);
    TX_LOG("deep");
    EXPECT_EQ(log.Messages().back(), std::string(40, ' ') + "deep");
    EXPECT_EQ(log.Messages()[3 + 20], std::string(40, ' ') + "level");
}

TEST(CLogReceiver, OverlongMessageIsCut)
{
    LogCapture log;
    std::string text(3000, 'm');
    TX_LOG("%s", text.c_str());
    g_Log.Lock();
    g_Log.EnterFunction(text.c_str());
    g_Log.Unlock();
    TX_LOG("%s", text.c_str()); // indented by 2 as well
    ASSERT_EQ(log.Data().size(), 3u);
    for (const std::string& data : log.Data())
    {
        EXPECT_EQ(data.size(), static_cast<size_t>(LOG_BUFFER_SIZE));
        EXPECT_EQ(std::strlen(data.c_str()), data.size() - 1);
    }
    EXPECT_EQ(log.Messages()[2], "  " + text.substr(0, LOG_BUFFER_SIZE - 1 - 26 - 2));
}

TEST(CLogReceiver, DisabledWithoutReceiverAtStart)
{
    g_Log.Restart(g_SetupLogConfig);
    ASSERT_FALSE(g_bLogEnabled);
    std::vector<std::string> lines;
    LogReceiverWindow late([&](const std::string& data) { lines.push_back(data); });
    ASSERT_TRUE(late.Create(false, false));
    int iEvaluated = 0;
    TX_LOG("%d", ++iEvaluated); // one flag test: nothing formatted
    EXPECT_EQ(iEvaluated, 0);
    EXPECT_TRUE(lines.empty());
}

TEST_F(FileLogTest, WrapsAt80)
{
    std::string text(100, 'a');
    std::string words = std::string(60, 'w') + " " + std::string(40, 'b');
    std::vector<std::string> lines = LogToFile({text, words});
    EXPECT_EQ(lines, (std::vector<std::string>{
                         FileLine(std::string(79, 'a')),
                         FileLine("  " + std::string(21, 'a')),
                         // the space ends the line; the continuation restarts on the
                         // character before it, both blanked
                         FileLine(std::string(60, 'w') + " "),
                         FileLine("  " + std::string(40, 'b')),
                     }));
}

TEST_F(FileLogTest, SplitsAtLineEnds)
{
    std::vector<std::string> lines = LogToFile({"first\r\nsecond", "a\rb\nc"});
    EXPECT_EQ(lines, (std::vector<std::string>{FileLine("first "), FileLine("second"),
                                               FileLine("a"), FileLine("b"), FileLine("c")}));
}

TEST_F(FileLogTest, TimeStampedLine)
{
    SYSTEMTIME before;
    GetLocalTime(&before);
    std::vector<std::string> lines = LogToFile({"stamped"}, true);
    ASSERT_EQ(lines.size(), 1u);
    std::regex layout(R"((\d{1,2})\.(\d{1,2})\.(\d\d) \d{1,2}:\d\d:\d\d [0-9a-f]{8} {7}stamped)");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[0], match, layout)) << lines[0];
    EXPECT_EQ(std::stoi(match[3]), before.wYear % 2000);
    EXPECT_NE(lines[0].find(LogCapture::Prefix().substr(11) + "stamped"), std::string::npos);
}

TEST_F(FileLogTest, OverlongFileLineKeepsItsLineEnd)
{
    CLogConfig config = {"Setup     ", "", false, 80, true, true, true};
    std::string path = m_Folder.Child("long.txt");
    {
        CLog log(config);
        log.OpenFile(path.c_str());
        log.Printf("%s", std::string(3000, 'z').c_str());
    }
    std::string bytes = ReadWholeFile(path);
    EXPECT_EQ(bytes.size(), static_cast<size_t>(LOG_BUFFER_SIZE - 1));
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "z\r\n");
}

// A log file named on the command line is appended to, and a link in its
// place is refused rather than followed to whatever it names. (Wine shows
// only links to folders as reparse points; one to a folder is refused
// before it could fail as a folder would.)
TEST_F(FileLogTest, AppendsToTheFileButNeverFollowsALink)
{
    CLogConfig config = {"Setup     ", "", false, 80, false, true, false};
    std::string path = m_Folder.Child("setup.log");
    ASSERT_TRUE(WriteWholeFile(path, "earlier\r\n"));
    ASSERT_TRUE(CreateDirectoryA(m_Folder.Child("elsewhere").c_str(), nullptr));
    std::string link = m_Folder.Child("link.log");
    ASSERT_TRUE(MakeSymbolicLink(link, m_Folder.Child("elsewhere")));
    {
        CLog log(config);
        EXPECT_FALSE(log.OpenFile(link.c_str()));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANT_ACCESS_FILE));
        EXPECT_TRUE(log.OpenFile(path.c_str()));
        log.Printf("%s", "appended");
    }
    EXPECT_EQ(ReadWholeFile(path), "earlier\r\n" + FileLine("appended") + "\r\n");
}

TEST(CLogTimeStamp, Format)
{
    struct Case
    {
        SYSTEMTIME st;
        const char* pszExpected;
    } cases[] = {
        {MakeTime(2026, 12, 7, 13, 5, 9), "7.12.26 13:05:09 "},
        {MakeTime(2005, 1, 2, 3, 4, 5), "2.1.05 3:04:05 "},
        {MakeTime(1999, 10, 31, 23, 59, 0), "31.10.1999 23:59:00 "}, // year modulo 2000
    };
    for (const Case& c : cases)
    {
        char szStamp[32];
        CLog::FormatTimeStamp(c.st, szStamp, sizeof(szStamp));
        EXPECT_STREQ(szStamp, c.pszExpected);
    }
    char szSmall[6] = "xxxxx";
    CLog::FormatTimeStamp(cases[0].st, szSmall, 4);
    EXPECT_STREQ(szSmall, "7.1");
    CLog::FormatTimeStamp(cases[0].st, szSmall, 0);
    CLog::FormatTimeStamp(cases[0].st, szSmall, -1);
    EXPECT_STREQ(szSmall, "7.1");
}
