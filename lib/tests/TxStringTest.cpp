#include "TxString.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace
{
// Whether an operation kept, freed or replaced the buffer it found.
enum class Buf
{
    Kept,
    Freed,
    New
};

void ExpectBuffer(const TxString& s, const char* pBefore, Buf expected)
{
    switch (expected)
    {
    case Buf::Kept:
        EXPECT_EQ(s.GetText(), pBefore);
        break;
    case Buf::Freed:
        EXPECT_FALSE(s.HasBuffer());
        break;
    case Buf::New:
        EXPECT_TRUE(s.HasBuffer());
        EXPECT_NE(s.GetText(), pBefore);
        break;
    }
}

void ExpectText(const TxString& s, const std::string& expected)
{
    EXPECT_EQ(std::string(s.GetText()), expected);
    EXPECT_EQ(s.Length(), static_cast<int>(expected.size()));
}
} // namespace

TEST(TxStringCapacity, SmallestMultipleOf16AboveLength)
{
    EXPECT_EQ(TxString::BufferSizeFor(0), 0);
    EXPECT_EQ(TxString::BufferSizeFor(1), 16);
    EXPECT_EQ(TxString::BufferSizeFor(15), 16);
    EXPECT_EQ(TxString::BufferSizeFor(16), 32);
    EXPECT_EQ(TxString::BufferSizeFor(31), 32);
    EXPECT_EQ(TxString::BufferSizeFor(32), 48);
}

TEST(TxString, NullAndEmptyTextsGiveNoBuffer)
{
    TxString a(nullptr), b(""), c("x");
    c.Assign(static_cast<const char*>(nullptr));
    for (const TxString* s : {&a, &b, &c})
    {
        EXPECT_FALSE(s->HasBuffer());
        EXPECT_EQ(s->Length(), 0);
        EXPECT_TRUE(s->IsEmpty());
        ASSERT_NE(s->GetText(), nullptr);
        EXPECT_STREQ(s->GetText(), "");
    }
    TxString d("abc");
    d.Assign("");
    EXPECT_FALSE(d.HasBuffer());
}

TEST(TxString, AssignAndCopyAreDeep)
{
    TxString s("abc");
    const char* p = s.GetText();
    s.Assign(s.GetText()); // its own content
    s.Assign(s);
    EXPECT_EQ(s.GetText(), p);
    ExpectText(s, "abc");
    TxString copy(s);
    EXPECT_NE(copy.GetText(), s.GetText());
    *s.CharAt(1) = 'x';
    ExpectText(copy, "abc");
    s.Assign(s.CharAt(2)); // a tail of itself
    ExpectText(s, "bc");
}

TEST(TxString, AppendEmptyKeepsBufferAndTextGrowsIntoNewOne)
{
    TxString s("ab");
    const char* p = s.GetText();
    s.Append(static_cast<const char*>(nullptr));
    s.Append("");
    s.Append(TxString());
    EXPECT_EQ(s.GetText(), p);
    s.Append("cd");
    ExpectText(s, "abcd");
    ExpectBuffer(s, p, Buf::New);
    s.Append(s);
    ExpectText(s, "abcdabcd");
}

TEST(TxString, Insert)
{
    struct Case
    {
        const char* pszStart;
        const char* pszText;
        int iPos;
        const char* pszExpected;
    } cases[] = {
        {"abc", "x", 0, "abc"},  {"abc", "x", -7, "abc"},         {"abc", "x", 1, "xabc"},
        {"abc", "x", 2, "axbc"}, {"abc", "x", 4, "abcx"},         {"abc", "x", 9, "abcx"},
        {"abc", "", 2, "abc"},   {"abc", nullptr, 2, "abc"},      {"", "x", 0, "x"},
        {"", "xy", -3, "xy"},    {"abc", "xy", INT_MAX, "abcxy"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.pszStart) + " pos " + std::to_string(c.iPos));
        TxString s(c.pszStart);
        s.Insert(c.pszText, c.iPos);
        ExpectText(s, c.pszExpected);
    }
    // The TxString form ignores a position below 1 even on an empty string.
    TxString empty;
    empty.Insert(TxString("x"), 0);
    ExpectText(empty, "");
    empty.Insert(TxString("x"), 1);
    ExpectText(empty, "x");
    TxString self("ab");
    self.Insert(self, 2);
    ExpectText(self, "aabb");
}

TEST(TxString, Delete)
{
    struct Case
    {
        const char* pszStart;
        int iPos, iCount;
        const char* pszExpected;
        Buf buffer;
    } cases[] = {
        {"abcdef", 2, 2, "adef", Buf::Kept}, {"abc", 1, 3, "", Buf::Kept},
        {"abc", 2, 100, "a", Buf::Kept},     {"abc", 1, 100, "", Buf::Freed},
        {"abc", 2, INT_MAX, "a", Buf::Kept}, {"abc", 3, 1, "ab", Buf::Kept},
        {"abc", 0, 1, "abc", Buf::Kept},     {"abc", -1, 2, "abc", Buf::Kept},
        {"abc", 4, 1, "abc", Buf::Kept},     {"abc", 2, 0, "abc", Buf::Kept},
        {"abc", 2, -5, "abc", Buf::Kept},    {"", 1, 1, "", Buf::Freed},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.pszStart) + " " + std::to_string(c.iPos) + "," +
                     std::to_string(c.iCount));
        TxString s(c.pszStart);
        const char* p = s.GetText();
        s.Delete(c.iPos, c.iCount);
        ExpectText(s, c.pszExpected);
        ExpectBuffer(s, p, c.buffer);
    }
}

TEST(TxString, SetLength)
{
    struct Case
    {
        const char* pszStart;
        int n;
        const char* pszExpected;
        Buf buffer;
    } cases[] = {
        {"ab", 5, "ab   ", Buf::New},  {"abc", 1, "a", Buf::Kept},  {"abc", 0, "", Buf::Freed},
        {"abc", -1, "abc", Buf::Kept}, {"abc", 3, "abc", Buf::New}, {"", 3, "   ", Buf::New},
        {"", 0, "", Buf::Freed},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.pszStart) + " to " + std::to_string(c.n));
        TxString s(c.pszStart);
        const char* p = s.GetText();
        s.SetLength(c.n);
        ExpectText(s, c.pszExpected);
        ExpectBuffer(s, p, c.buffer);
    }
}

TEST(TxString, SubString)
{
    struct Case
    {
        const char* pszStart;
        int iPos, iCount;
        const char* pszExpected;
    } cases[] = {
        {"hello", 2, 3, "ell"}, {"hello", 4, 100, "lo"}, {"hello", 2, INT_MAX, "ello"},
        {"hello", 5, 1, "o"},   {"hello", 6, 1, ""},     {"hello", 0, 2, ""},
        {"hello", -3, 9, ""},   {"hello", 1, 0, ""},     {"hello", 1, -1, ""},
        {"", 1, 1, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.pszStart) + " " + std::to_string(c.iPos) + "," +
                     std::to_string(c.iCount));
        TxString s(c.pszStart), out("previous");
        s.SubString(c.iPos, c.iCount, out);
        ExpectText(out, c.pszExpected);
        ExpectText(s, c.pszStart);
        EXPECT_EQ(out.HasBuffer(), !out.IsEmpty());
    }
    TxString self("hello");
    self.SubString(2, 3, self);
    ExpectText(self, "ell");
}

TEST(TxString, Find)
{
    struct Case
    {
        const char* pszString;
        const char* pszText;
        bool bIgnoreCase, bBackward;
        int iStart, iExpected;
    } cases[] = {
        {"C:\\a\\b", "\\", false, true, 1, 5},    {"C:\\a\\b", "\\", false, false, 1, 3},
        {"C:\\a\\b", "\\", false, false, 4, 5},   {"xaby", "AB", true, false, 1, 2},
        {"xaby", "AB", false, false, 1, 0},       {"xABy", "ab", true, true, 0, 2},
        {"abcabc", "abc", false, false, 0, 1},    {"abcabc", "abc", false, false, 2, 4},
        {"abcabc", "abc", false, false, 100, 4}, // beyond the last match position
        {"abcabc", "abc", false, false, -100, 1}, {"abcabc", "abc", false, false, INT_MIN, 1},
        {"abcabc", "abc", false, true, 0, 4}, // backward from 0 or 1 starts at the end
        {"abcabc", "abc", false, true, 3, 1},     {"abcabc", "abc", false, true, INT_MAX, 4},
        {"abcabc", "x", false, true, 1, 0},       {"abc", "", false, false, 1, 0},
        {"abc", nullptr, true, false, 1, 0},      {"", "a", false, false, 1, 0},
        {"ab", "abc", true, false, 1, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.pszString) + " / " + (c.pszText ? c.pszText : "(null)") +
                     " start " + std::to_string(c.iStart));
        TxString s(c.pszString);
        EXPECT_EQ(s.Find(c.pszText, c.bIgnoreCase, c.bBackward, c.iStart), c.iExpected);
        EXPECT_EQ(s.Find(TxString(c.pszText), c.bIgnoreCase, c.bBackward, c.iStart), c.iExpected);
        ExpectText(s, c.pszString); // a case-insensitive search leaves the text alone
    }
}

TEST(TxString, Replace)
{
    struct Case
    {
        const char* pszStart;
        const char* pszFind;
        const char* pszWith;
        bool bAll, bIgnoreCase, bBackward;
        bool bResult;
        const char* pszExpected;
    } cases[] = {
        {"a\r\n\r\nb", "\r\n", "\n", true, false, false, true, "a\n\nb"},
        {"aXbXc", "X", "YY", false, false, false, true, "aYYbXc"},
        {"aXbXc", "X", "YY", false, false, true, true, "aXbYYc"},
        {"aXbXc", "X", "YY", true, false, true, true, "aYYbYYc"}, // all forces forward
        {"aXbxc", "x", "-", true, true, false, true, "a-b-c"},
        {"aXbXc", "X", "", true, false, false, true, "abc"},
        {"aXbXc", "X", nullptr, true, false, false, true, "abc"},
        {"aa", "a", "aa", true, false, false, true, "aaaa"}, // does not loop
        {"X", "X", "", true, false, false, true, ""},
        {"abc", "z", "y", true, false, false, false, "abc"},
        {"abc", "", "y", true, false, false, false, "abc"},
        {"abc", nullptr, "y", true, false, false, false, "abc"},
        {"", "a", "y", true, false, false, false, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszStart);
        TxString s(c.pszStart);
        EXPECT_EQ(s.Replace(c.pszFind, c.pszWith, c.bAll, c.bIgnoreCase, c.bBackward), c.bResult);
        ExpectText(s, c.pszExpected);
    }
    TxString s("abab");
    EXPECT_TRUE(s.Replace(s.CharAt(3), "x", true, false, false)); // arguments inside itself
    ExpectText(s, "xx");
}

TEST(TxString, ReplaceCharAndCharAt)
{
    TxString s("a/b/c");
    EXPECT_TRUE(s.ReplaceChar('/', '\\'));
    ExpectText(s, "a\\b\\c");
    EXPECT_FALSE(s.ReplaceChar('/', '\\'));
    EXPECT_FALSE(TxString().ReplaceChar('a', 'b'));

    EXPECT_EQ(*s.CharAt(3), 'b');
    for (int iPos : {0, -1, 6, INT_MAX})
        EXPECT_EQ(s.CharAt(iPos), s.GetText()) << iPos;
    *s.CharAt(5) = 'X';
    ExpectText(s, "a\\b\\X");
    TxString empty;
    ASSERT_NE(empty.CharAt(1), nullptr);
    EXPECT_EQ(*empty.CharAt(1), 0);
}

TEST(TxString, EqualityAndCompare)
{
    TxString abc("abc"), empty;
    EXPECT_FALSE(abc.IsEqual("ABC"));
    EXPECT_TRUE(abc.IsEqual("abc"));
    EXPECT_FALSE(abc.IsEqual("abcd"));
    EXPECT_FALSE(abc.IsEqual(nullptr));
    EXPECT_TRUE(empty.IsEqual(nullptr));
    EXPECT_TRUE(empty.IsEqual(""));
    EXPECT_TRUE(empty.IsEqual(TxString("")));
    EXPECT_TRUE(abc.IsDifferent(TxString("abd")));

    EXPECT_EQ(abc.Compare("ABC"), 0);
    EXPECT_EQ(abc.Compare(TxString("ABD")), -1);
    EXPECT_EQ(abc.Compare("AB"), 1);
    EXPECT_EQ(empty.Compare("a"), -1);
    EXPECT_EQ(empty.Compare(nullptr), 0);
    EXPECT_EQ(abc.Compare(nullptr), 1);
}

TEST(TxString, CaseConversion)
{
    TxString s("MiXeD 1\\Path");
    s.ToLower();
    ExpectText(s, "mixed 1\\path");
    s.ToUpper();
    ExpectText(s, "MIXED 1\\PATH");
    TxString empty;
    empty.ToLower();
    empty.ToUpper();
    EXPECT_FALSE(empty.HasBuffer());
}

TEST(TxString, Trim)
{
    struct Case
    {
        const char* pszStart;
        const char* pszExpected;
    } cases[] = {
        {" \tx \r\n", "x"},
        {"\x01"
         "a b\x1f",
         "a b"},
        {"\x80x\xa0", "\x80x\xa0"},
        {"\xff ", "\xff"},
        {"x", "x"},
        {"", ""},
    };
    for (const Case& c : cases)
    {
        TxString s(c.pszStart);
        s.Trim();
        ExpectText(s, c.pszExpected);
    }
    TxString blanks(" \t\r\n ");
    blanks.Trim();
    EXPECT_FALSE(blanks.HasBuffer()); // truncated to 0 through SetLength
    TxString padded("  ab  ");
    const char* p = padded.GetText();
    padded.Trim();
    ExpectText(padded, "ab");
    EXPECT_EQ(padded.GetText(), p);
}

TEST(TxString, Backslashes)
{
    struct Case
    {
        const char* pszStart;
        const char* pszAdded;
        const char* pszRemoved;
    } cases[] = {
        {"C:", "C:\\", "C:"},      {"C:\\", "C:\\", "C:"}, {"C:/", "C:/", "C:/"},
        {"a\\\\", "a\\\\", "a\\"}, {"", "\\", ""},         {"\\", "\\", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszStart);
        TxString added(c.pszStart), removed(c.pszStart);
        added.AddBackslash();
        removed.RemoveBackslash();
        ExpectText(added, c.pszAdded);
        ExpectText(removed, c.pszRemoved);
    }
    TxString root("\\");
    root.RemoveBackslash();
    EXPECT_TRUE(root.HasBuffer()); // shortened in place
}

TEST(TxString, AssignFileName)
{
    struct Case
    {
        const char* pszPath;
        const char* pszExpected;
    } cases[] = {
        {"C:\\dir\\file.txt", "file.txt"},
        {"a/b\\c/d", "c/d"}, // the last backslash wins even with slashes after it
        {"dir/file.txt", "file.txt"},
        {"file", "file"},
        {"dir\\", ""},
        {"", ""},
        {nullptr, ""},
    };
    for (const Case& c : cases)
    {
        TxString s("previous");
        s.AssignFileName(c.pszPath);
        ExpectText(s, c.pszExpected);
    }
    TxString self("C:\\x\\name");
    self.AssignFileName(self.GetText());
    ExpectText(self, "name");
}
