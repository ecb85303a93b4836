// The forms made at start and the ones made once the welcome dialog shows,
// and the language the welcome step chooses for them.
#include "LanguageCatalogue.h"
#include "StringTables.h"
#include "TFormMain.h"
#include "TFormNewFolder.h"
#include "TFormStepBye.h"
#include "TFormStepInstall.h"
#include "TFormStepOptions.h"
#include "TFormStepPhotos.h"
#include "TFormStepWelcome.h"
#include "TFormTree.h"
#include "TestSupport.h"
#include "WizardForms.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
const char LANGUAGES[] = "BEGIN-LANGUAGE English\r\nLANGID = LANG_ENGLISH\r\n"
                         "gls_ButtonCancel\r\nCancel\r\nEND-LANGUAGE\r\n"
                         "BEGIN-LANGUAGE Deutsch\r\nLANGID = LANG_GERMAN\r\n"
                         "gls_ButtonCancel\r\nAbbrechen\r\nEND-LANGUAGE\r\n";

std::vector<std::string> CancelTexts()
{
    std::vector<std::string> texts;
    for (TFormStep* pStep :
         {static_cast<TFormStep*>(FormStepWelcome), static_cast<TFormStep*>(FormStepBye),
          static_cast<TFormStep*>(FormStepOptions), static_cast<TFormStep*>(FormStepPhotos),
          static_cast<TFormStep*>(FormStepInstall)})
        texts.push_back(pStep != nullptr ? pStep->ButtonCancel.GetText().GetText() : "-");
    texts.push_back(FormTree != nullptr ? FormTree->ButtonCancel.GetText().GetText() : "-");
    return texts;
}
} // namespace

// The welcome step's choice switches the language of the forms made so far;
// the later ones take it when they are made.
TEST(WizardForms, LaterFormsTakeTheLanguageChosenBeforeThem)
{
    SetDefaultTexts();
    TempFolder folder("qv_forms_");
    std::string sFile = folder.AddFile("SetupLang.dat", LANGUAGES);
    TxCollection languages(32, 64);
    TxString sDefault;
    LoadLanguages(languages, sDefault, sFile.c_str());
    {
        CWizardForms forms;
        ASSERT_NE(FormMain, nullptr);
        ASSERT_NE(FormStepWelcome, nullptr);
        EXPECT_EQ(FormStepBye, nullptr);
        EXPECT_EQ(FormNewFolder, nullptr);

        EXPECT_FALSE(FormStepWelcome->ListLanguages(languages, TxString("Klingon")));
        EXPECT_EQ(CancelTexts(), (std::vector<std::string>{"Cancel", "-", "-", "-", "-", "-"}));
        // The default language, chosen before the others exist.
        ASSERT_TRUE(FormStepWelcome->ListLanguages(languages, TxString("Deutsch")));
        EXPECT_EQ(CancelTexts(), (std::vector<std::string>{"Abbrechen", "-", "-", "-", "-", "-"}));

        forms.CreateRemaining();
        EXPECT_EQ(CancelTexts(), std::vector<std::string>(6, "Abbrechen"));
        EXPECT_NE(FormNewFolder, nullptr);
        TFormStepOptions* pOptions = FormStepOptions;
        forms.CreateRemaining();
        EXPECT_EQ(FormStepOptions, pOptions) << "made twice";

        // A click on another language reaches every form.
        TxListBox& list = FormStepWelcome->ListBoxLanguage;
        list.SetItemIndex(list.FindExact("English"));
        FormStepWelcome->ListBoxLanguageClick();
        EXPECT_EQ(CancelTexts(), std::vector<std::string>(6, "Cancel"));
        EXPECT_STREQ(g_sLanguage.GetText(), "English");
    }
    EXPECT_EQ(FormMain, nullptr);
    EXPECT_EQ(FormStepWelcome, nullptr);
    EXPECT_EQ(FormStepOptions, nullptr);
    EXPECT_EQ(FormNewFolder, nullptr);
    EXPECT_EQ(FormStepBye, nullptr);
    SetDefaultTexts();
}
