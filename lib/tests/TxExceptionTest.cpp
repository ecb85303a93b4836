#include "LogCollector.h"
#include "TestSupport.h"
#include "TxErrorText.h"
#include "TxException.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(TxException, ThrowLastErrorWithoutErrorCodeDoesNothing)
{
    SetLastError(NO_ERROR);
    EXPECT_NO_THROW(ThrowLastError(false));
    EXPECT_NO_THROW(ThrowLastError(true));
}

TEST(TxException, ThrowLastErrorLogsAndThrowsTheSystemText)
{
    std::string expected = SystemErrorText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(expected.empty());
    LogCollector log;
    try
    {
        SetLastError(ERROR_ACCESS_DENIED);
        ThrowLastError(false);
        ADD_FAILURE() << "nothing thrown";
    }
    catch (const ExNormal& e)
    {
        EXPECT_EQ(e.what(), expected);
    }
    // The critical class is not an ExNormal.
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_THROW(ThrowLastError(true), ExCritical);
    EXPECT_EQ(log.Messages(), std::vector<std::string>(2, "Throwing exception: " + expected));
}

TEST(TxErrorText, TextsByIndex)
{
    const char* expected[] = {
        "Internal exception occured. Please read the Troubleshooting chapter in Help.",
        "Collection index out of range.",
        "Collection size overflow.",
        "Not enough memory for collection.",
        "Error reading file C:\\x.bin.",
        "Error writing to file C:\\x.bin.",
        "Error seeking in file C:\\x.bin.",
    };
    for (int i = 0; i < TXERR_COUNT; ++i)
    {
        TxString s;
        FormatErrorText(i, "C:\\x.bin", s);
        EXPECT_STREQ(s.GetText(), expected[i]) << i;
    }
    struct Case
    {
        int iIndex;
        const char* pszName;
        const char* pszExpected;
    } cases[] = {
        {TXERR_FILE_READ, nullptr, "Error reading file ."},
        {TXERR_FILE_WRITE, "100%s%d.dat", "Error writing to file 100%s%d.dat."},
        {-1, "x", expected[0]},
        {TXERR_COUNT, "x", expected[0]},
    };
    for (const Case& c : cases)
    {
        TxString s;
        FormatErrorText(c.iIndex, c.pszName, s);
        EXPECT_STREQ(s.GetText(), c.pszExpected) << c.iIndex;
    }
}

TEST(TxErrorText, LongFileNameIsCutToTheBuffer)
{
    std::string path = "C:\\" + std::string(397, 'p');
    TxString s;
    FormatErrorText(TXERR_FILE_SEEK, path.c_str(), s);
    ASSERT_EQ(s.Length(), TX_ERROR_TEXT_SIZE - 1);
    EXPECT_EQ(std::string(s.GetText()), ("Error seeking in file " + path).substr(0, 299));
    try
    {
        ThrowLibraryError(TXERR_FILE_WRITE, path.c_str());
    }
    catch (const ExNormal& e)
    {
        EXPECT_EQ(std::string(e.what()), ("Error writing to file " + path).substr(0, 299));
    }
}
