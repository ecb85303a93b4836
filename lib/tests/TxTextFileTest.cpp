#include "TestSupport.h"
#include "TxException.h"
#include "TxTextFile.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> ReadLines(const std::string& path)
{
    TxTextFile file(path.c_str(), true);
    TxStringCollection lines;
    file.ReadLines(lines);
    std::vector<std::string> texts;
    for (int i = 0; i < lines.GetCount(); ++i)
        texts.push_back(lines.StringAt(i)->GetText());
    return texts;
}
} // namespace

TEST(TxTextFile, ReadLinesSplitsAtLineEnds)
{
    struct Case
    {
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\n\rb", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\r\n", {"a"}},
        {"a\nb\n", {"a", "b"}},
        {"\r\n", {""}},
        {"no end", {"no end"}},
        {"", {}},
        // CR LF across the end of the first 8,192-byte block
        {std::string(8191, 'x') + "\r\ny", {std::string(8191, 'x'), "y"}},
    };
    TempFolder folder;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.bytes.substr(0, 20));
        EXPECT_EQ(ReadLines(folder.AddFile("t.txt", c.bytes)), c.lines);
    }
}

TEST(TxTextFile, OverlongLineIsCutAt65535)
{
    TempFolder folder;
    std::vector<std::string> lines = ReadLines(folder.AddFile("long.txt", std::string(70000, 'q')));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 65535u);
    EXPECT_EQ(lines[1].size(), 4465u);
}

TEST(TxTextFile, EveryReadStartsAtTheBeginningAndAppends)
{
    TempFolder folder;
    TxTextFile file(folder.AddFile("t.txt", "a\r\nb").c_str(), true);
    TxStringCollection lines;
    lines.Add("kept");
    file.ReadLines(lines);
    file.ReadLines(lines);
    ASSERT_EQ(lines.GetCount(), 5);
    EXPECT_STREQ(lines.StringAt(0)->GetText(), "kept");
    EXPECT_STREQ(lines.StringAt(3)->GetText(), "a");
}

TEST(TxTextFile, WritableFileIsCreatedEmpty)
{
    TempFolder folder;
    std::string path = folder.AddFile("t.txt", "old content");
    {
        TxTextFile file(path.c_str(), false);
        TxStringCollection lines;
        file.ReadLines(lines);
        EXPECT_EQ(lines.GetCount(), 0);
    }
    EXPECT_EQ(ReadWholeFile(path), "");
    TxTextFile created(folder.Child("new.txt").c_str(), false);
    EXPECT_EQ(folder.Entries().size(), 2u);
}

TEST(TxTextFile, OpenFailurePassesOn)
{
    TempFolder folder;
    EXPECT_THROW(TxTextFile(folder.Child("missing.txt").c_str(), true), ExNormal);
    EXPECT_THROW(TxTextFile(nullptr, true), ExNormal);
    EXPECT_THROW(TxTextFile("", false), ExNormal);
}
