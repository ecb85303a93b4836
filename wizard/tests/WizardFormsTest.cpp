// The forms made at start and the ones made once the welcome dialog shows.
#include "StringTables.h"
#include "TFormMain.h"
#include "TFormNewFolder.h"
#include "TFormStepBye.h"
#include "TFormStepInstall.h"
#include "TFormStepOptions.h"
#include "TFormStepPhotos.h"
#include "TFormStepWelcome.h"
#include "TFormTree.h"
#include "WizardForms.h"

#include <gtest/gtest.h>

TEST(WizardForms, LaterFormsTakeTheLanguageChosenBeforeThem)
{
    SetDefaultTexts();
    {
        CWizardForms forms;
        ASSERT_NE(FormMain, nullptr);
        ASSERT_NE(FormStepWelcome, nullptr);
        EXPECT_EQ(FormStepBye, nullptr);
        EXPECT_EQ(FormNewFolder, nullptr);

        // A language picked on the welcome step, before the others exist.
        gls_ButtonCancel.Assign("Abbrechen");
        FormMain->SetCaptions();
        EXPECT_STREQ(FormStepWelcome->ButtonCancel.GetText().GetText(), "Abbrechen");

        forms.CreateRemaining();
        ASSERT_NE(FormStepOptions, nullptr);
        for (TFormStep* pStep :
             {static_cast<TFormStep*>(FormStepBye), static_cast<TFormStep*>(FormStepOptions),
              static_cast<TFormStep*>(FormStepPhotos), static_cast<TFormStep*>(FormStepInstall)})
            EXPECT_STREQ(pStep->ButtonCancel.GetText().GetText(), "Abbrechen");
        EXPECT_NE(FormTree, nullptr);
        EXPECT_NE(FormNewFolder, nullptr);

        TFormStepOptions* pOptions = FormStepOptions;
        forms.CreateRemaining();
        EXPECT_EQ(FormStepOptions, pOptions) << "made twice";
    }
    EXPECT_EQ(FormMain, nullptr);
    EXPECT_EQ(FormStepWelcome, nullptr);
    EXPECT_EQ(FormStepOptions, nullptr);
    EXPECT_EQ(FormNewFolder, nullptr);
    EXPECT_EQ(FormStepBye, nullptr);
    SetDefaultTexts();
}
