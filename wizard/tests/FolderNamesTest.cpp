#include "FolderNames.h"

#include <gtest/gtest.h>

TEST(FolderNamesTest, NewFolderNameValidation)
{
    struct Case
    {
        const char* pszName;
        bool bValid;
    };
    const Case cases[] = {
        {"", false},         {"Images", true}, {"My Images 2004", true},
        {"a:b", false},      {"a\\b", false},  {"a/b", false},
        {"what?", false},    {"star*", false}, {"\"quoted\"", false},
        {"<tag>", false},    {"pipe|", false}, {"tab\t", false},
        {"bell\x07", false}, {"\x1f", false},  {"Bilder \xe4\xf6\xfc", true},
        {"\x80\xff", true},  {" ", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidFolderName(c.pszName), c.bValid) << c.pszName;
    EXPECT_FALSE(IsValidFolderName(nullptr));
}

TEST(FolderNamesTest, DisplayedNames)
{
    struct Case
    {
        const char* pszStored;
        const char* pszShown;
    };
    const Case cases[] = {
        {"WINDOWS", "Windows"},
        {"PROGRA~1", "Progra~1"},
        {"Program Files", "Program Files"},
        {"windows", "windows"},
        {"mIXED", "mIXED"},
        {"123", "123"},
        {"_DATA", "_data"},
        {"A", "A"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(DisplayFolderName(c.pszStored).GetText(), c.pszShown) << c.pszStored;
}

TEST(FolderNamesTest, DriveNodeText)
{
    EXPECT_STREQ(DriveNodeText('C', "SYSTEM").GetText(), "C:\\  SYSTEM");
    EXPECT_STREQ(DriveNodeText('Z', "").GetText(), "Z:\\  ");
}

TEST(FolderNamesTest, BrowseHandsTheParentOfTheProductFolder)
{
    struct Case
    {
        const char* pszPath;
        bool bCut;
        const char* pszParent;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Quorvane", true, "C:\\Program Files"},
        {"C:\\Program Files\\quorvane", true, "C:\\Program Files"},
        {"C:\\Quorvane\\Old\\Quorvane\\Sub", true, "C:\\Quorvane\\Old"},
        {"C:\\Programs", false, "C:\\Programs"},
        {"Quorvane", false, "Quorvane"},
        {"\\Quorvane", true, ""},
        {"", false, ""},
    };
    for (const Case& c : cases)
    {
        TxString sPath(c.pszPath);
        EXPECT_EQ(CutProductFolder(sPath, "Quorvane"), c.bCut) << c.pszPath;
        EXPECT_STREQ(sPath.GetText(), c.pszParent) << c.pszPath;
    }
}

TEST(FolderNamesTest, ProductFolderRestored)
{
    struct Case
    {
        const char* pszChosen;
        const char* pszResult;
    };
    const Case cases[] = {
        {"D:\\Apps", "D:\\Apps\\Quorvane"},
        {"D:", "D:\\Quorvane"},
        {"D:\\", "D:\\Quorvane"},
        {"D:/", "D:/Quorvane"},
        {"", "\\Quorvane"},
    };
    for (const Case& c : cases)
    {
        TxString sPath(c.pszChosen);
        RestoreProductFolder(sPath, "Quorvane");
        EXPECT_STREQ(sPath.GetText(), c.pszResult) << c.pszChosen;
    }
}

TEST(FolderNamesTest, TargetFolderAsStored)
{
    struct Case
    {
        const char* pszTyped;
        const char* pszStored;
    };
    const Case cases[] = {
        {"  C:\\Programs\\Quorvane\\  ", "C:\\Programs\\Quorvane"},
        {"\tC:\\Programs\\Quorvane\r\n", "C:\\Programs\\Quorvane"},
        {"C:\\", "C:"},
        {"C:\\\\", "C:\\"},
        {"C:\\Quorvane/", "C:\\Quorvane/"},
        {"\xa0"
         "C:\\Bilder\xa0",
         "\xa0"
         "C:\\Bilder\xa0"},
        {"   ", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(TrimTargetFolder(c.pszTyped).GetText(), c.pszStored) << c.pszTyped;
}
