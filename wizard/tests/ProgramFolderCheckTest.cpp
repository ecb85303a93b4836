#include "ProgramFolderCheck.h"

#include "StringTables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Answers Inspect from a list (the last answer repeats) and records the calls.
class FakeFolder : public IProgramFolder
{
public:
    std::vector<FolderState> states;
    bool bLockWorks = true;
    std::vector<std::string> calls;

    FolderState Inspect(const char* pszFolder) override
    {
        calls.push_back(std::string("inspect ") + pszFolder);
        FolderState state = states.front();
        if (states.size() > 1)
            states.erase(states.begin());
        return state;
    }
    bool LockForPrograms(const char* pszFolder) override
    {
        calls.push_back(std::string("lock ") + pszFolder);
        return bLockWorks;
    }
};

class FakeView : public IMessageView
{
public:
    int iAnswer = IDNO;
    std::vector<std::string> boxes; // caption | flags | text

    int ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags) override
    {
        boxes.push_back(std::string(pszCaption) + "|" + std::to_string(uFlags) + "|" + pszText);
        return (uFlags & MB_YESNO) != 0 ? iAnswer : IDOK;
    }
};

std::string Box(const char* pszCaption, unsigned uFlags, const std::string& sText)
{
    return std::string(pszCaption) + "|" + std::to_string(uFlags) + "|" + sText;
}
} // namespace

TEST(ProgramFolderCheck, UsesOnlyAFolderThatAdministratorsAloneCanChange)
{
    SetDefaultTexts();
    const char* const DIR = "C:\\Games\\Quorvane";
    const std::string LINK_TEXT = "C:\\Games\\Quorvane is a link to another folder. The setup "
                                  "does not install into a link. Press the \"Previous\" button "
                                  "and choose another folder.";
    const std::string QUESTION = std::string("Other users can change the files in ") + DIR +
                                 " and could replace the programs that administrators run from "
                                 "there.\n\nDo you want to make the folder and everything in it "
                                 "writable by administrators only? If you answer No, the setup "
                                 "does not install into this folder.";
    const std::string NOT_LOCKED = std::string("The access rights of ") + DIR +
                                   " could not be changed. Press the \"Previous\" button and "
                                   "choose another folder.";
    const unsigned OK_BOX = MB_OK | MB_ICONEXCLAMATION;
    const unsigned ASK = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    struct Row
    {
        std::vector<FolderState> states;
        int iAnswer;
        bool bLockWorks;
        bool bAccepted;
        std::vector<std::string> boxes;
        bool bLocked;
    };
    const Row rows[] = {
        {{FOLDER_ABSENT}, IDNO, true, true, {}, false},
        {{FOLDER_ADMINS_ONLY}, IDNO, true, true, {}, false},
        {{FOLDER_LINK}, IDYES, true, false, {Box("Cannot install", OK_BOX, LINK_TEXT)}, false},
        {{FOLDER_OPEN_TO_OTHERS},
         IDNO,
         true,
         false,
         {Box("Unprotected Folder", ASK, QUESTION)},
         false},
        {{FOLDER_OPEN_TO_OTHERS, FOLDER_ADMINS_ONLY},
         IDYES,
         true,
         true,
         {Box("Unprotected Folder", ASK, QUESTION)},
         true},
        // Locked in name only: the rights still read back open.
        {{FOLDER_OPEN_TO_OTHERS},
         IDYES,
         true,
         false,
         {Box("Unprotected Folder", ASK, QUESTION), Box("Error", OK_BOX, NOT_LOCKED)},
         true},
        {{FOLDER_OPEN_TO_OTHERS},
         IDYES,
         false,
         false,
         {Box("Unprotected Folder", ASK, QUESTION), Box("Error", OK_BOX, NOT_LOCKED)},
         true},
    };
    for (const Row& row : rows)
    {
        FakeFolder folder;
        folder.states = row.states;
        folder.bLockWorks = row.bLockWorks;
        FakeView view;
        view.iAnswer = row.iAnswer;
        SCOPED_TRACE(static_cast<int>(row.states.front()) * 10 + row.iAnswer);
        EXPECT_EQ(AcceptProgramFolder(folder, view, DIR), row.bAccepted);
        EXPECT_EQ(view.boxes, row.boxes);
        bool bLocked = false;
        for (const std::string& sCall : folder.calls)
            bLocked = bLocked || sCall == std::string("lock ") + DIR;
        EXPECT_EQ(bLocked, row.bLocked);
    }
}
