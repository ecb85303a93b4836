#include "TxCollection.h"
#include "TxException.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
// Counts the living instances so that tests can see what was deleted.
class Counted : public TxObject
{
public:
    Counted() { ++s_iAlive; }
    ~Counted() override { --s_iAlive; }
    static int s_iAlive;
};
int Counted::s_iAlive = 0;

void ExpectThrows(const std::function<void()>& action, const char* pszText)
{
    try
    {
        action();
        ADD_FAILURE() << "no exception, expected: " << pszText;
    }
    catch (const ExNormal& e)
    {
        EXPECT_STREQ(e.what(), pszText);
    }
}

std::vector<std::string> Texts(const TxStringCollection& lines)
{
    std::vector<std::string> texts;
    for (int i = 0; i < lines.GetCount(); ++i)
        texts.push_back(lines.StringAt(i)->GetText());
    return texts;
}
} // namespace

TEST(TxCollection, GrowsByDeltaFrom32)
{
    TxCollection c(32, 64);
    EXPECT_EQ(c.GetLimit(), 32);
    std::vector<int> limits;
    for (int i = 0; i < 97; ++i)
    {
        c.Insert(nullptr);
        limits.push_back(c.GetLimit());
    }
    EXPECT_EQ(limits[31], 32);
    EXPECT_EQ(limits[32], 96);
    EXPECT_EQ(limits[95], 96);
    EXPECT_EQ(limits[96], 160);
    EXPECT_EQ(c.GetCount(), 97);
}

TEST(TxCollection, OverflowsAtMaximumSize)
{
    TxCollection c(32, 64);
    c.SetLimit(2000000); // grows straight to the maximum, not in 16,384 steps
    ASSERT_EQ(c.GetLimit(), TX_MAX_COLLECTION_SIZE);
    for (int i = 0; i < TX_MAX_COLLECTION_SIZE; ++i)
        c.Insert(nullptr);
    ExpectThrows([&] { c.Insert(nullptr); }, "Collection size overflow.");
    EXPECT_EQ(c.GetCount(), 1048576);

    TxCollection fixed(1, 0); // no growth step: full after one item
    fixed.Insert(nullptr);
    ExpectThrows([&] { fixed.AtInsert(0, nullptr); }, "Collection size overflow.");
}

TEST(TxCollection, IndexErrors)
{
    TxCollection c(32, 64);
    Counted* pItems[2] = {new Counted, new Counted};
    c.Insert(pItems[0]);
    c.Insert(pItems[1]);
    const std::function<void()> actions[] = {
        [&] { c.At(-1); },
        [&] { c.At(2); },
        [&] { c.AtDelete(2); },
        [&] { c.AtDelete(-1); },
        [&] { c.AtInsert(-1, nullptr); },
        [&] { c.AtInsert(3, nullptr); },
        [&] { c.AtPut(2, nullptr); },
        [&] { c.Free(5); },
    };
    for (const auto& action : actions)
        ExpectThrows(action, "Collection index out of range.");
    EXPECT_EQ(c.GetCount(), 2);
    EXPECT_EQ(c.At(1), pItems[1]);
    ExpectThrows([] { TxCollection(32, 64).At(0); }, "Collection index out of range.");
}

TEST(TxCollection, RejectedInsertIntoFullCollectionStillGrows)
{
    TxCollection c(2, 64);
    c.Insert(nullptr);
    c.Insert(nullptr);
    ExpectThrows([&] { c.AtInsert(5, nullptr); }, "Collection index out of range.");
    EXPECT_EQ(c.GetLimit(), 66);
    EXPECT_EQ(c.GetCount(), 2);
}

TEST(TxCollection, InsertDeleteAndFreeKeepOrderAndOwnership)
{
    Counted::s_iAlive = 0;
    {
        TxCollection c(32, 64);
        Counted* p[4] = {new Counted, new Counted, new Counted, new Counted};
        c.Insert(p[0]);
        c.Insert(p[2]);
        c.AtInsert(1, p[1]);
        c.AtInsert(c.GetCount(), p[3]); // index == count appends
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.At(i), p[i]);

        c.AtDelete(0);
        EXPECT_EQ(c.GetCount(), 3);
        EXPECT_EQ(c.At(0), p[1]);
        EXPECT_EQ(c.At(1), p[2]);
        EXPECT_EQ(Counted::s_iAlive, 4); // taken out, not deleted
        delete p[0];

        c.Free(1);
        EXPECT_EQ(Counted::s_iAlive, 2);
        EXPECT_EQ(c.At(1), p[3]);
        c.Insert(nullptr); // a null item is freed as nothing
        c.FreeAll();
        EXPECT_EQ(Counted::s_iAlive, 0);
        EXPECT_EQ(c.GetCount(), 0);
        EXPECT_EQ(c.GetLimit(), 32);

        c.Insert(new Counted);
        c.Insert(new Counted);
    }
    EXPECT_EQ(Counted::s_iAlive, 0); // the destructor frees the rest
}

TEST(TxCollection, SetLimitClamps)
{
    TxCollection c(32, 64);
    for (int i = 0; i < 5; ++i)
        c.Insert(nullptr);
    c.SetLimit(0);
    EXPECT_EQ(c.GetLimit(), 5);
    c.SetLimit(-3);
    EXPECT_EQ(c.GetLimit(), 5);
    c.SetLimit(2000000);
    EXPECT_EQ(c.GetLimit(), 1048576);
    c.FreeAll();
    c.SetLimit(0);
    EXPECT_EQ(c.GetLimit(), 0);
    c.Insert(nullptr); // grows again from nothing by the delta
    EXPECT_EQ(c.GetLimit(), 64);
}

TEST(TxCollection, IndexOf)
{
    TxCollection c(32, 64);
    Counted* pTwice = new Counted;
    Counted absent;
    c.Insert(new Counted);
    c.Insert(pTwice);
    c.Insert(nullptr);
    c.Insert(pTwice);
    EXPECT_EQ(c.IndexOf(pTwice), 1);
    EXPECT_EQ(c.IndexOf(nullptr), 2);
    EXPECT_EQ(c.IndexOf(&absent), -1);
    c.AtDelete(3); // owned once only
}

TEST(TxStringCollection, SetTextSplitsLines)
{
    struct Case
    {
        const char* pszText;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\n\r\nb\n", {"a", "", "b"}},
        {"a\n\rb", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\r\n", {"a"}},
        {"\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"one line", {"one line"}},
        {"", {}},
        {nullptr, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.pszText != nullptr ? c.pszText : "(null)");
        TxStringCollection lines;
        lines.SetText(c.pszText);
        EXPECT_EQ(Texts(lines), c.lines);
    }
    TxStringCollection lines;
    lines.Add("first");
    lines.SetText("x\ny");
    EXPECT_EQ(Texts(lines), (std::vector<std::string>{"first", "x", "y"}));
    EXPECT_EQ(lines.GetLimit(), 32);
}
