#pragma once

#include "SpaceInfo.h"
#include "TFormStep.h"
#include "TxEdit.h"
#include "TxRadioGroup.h"

// The second step: the program folder and the shortcut choices.
class TFormStepOptions : public TFormStep
{
public:
    TFormStepOptions();

    void SetTexts(const TxString& sCaption);
    // Recomputes the free-space line when the folder's drive has changed.
    void UpdateSpaceInfo();
    // The drive of the last free-space line; the install step compares it.
    const TxString& LastDrive() const { return m_Space.LastDrive(); }
    static bool IsNtFamily();

    TxRadioGroup RadioGroupAddToStartMenu;
    TxRadioGroup RadioGroupAddIconToDesktop;
    TxLabel LabelTargetDir;
    TxEdit EditDstDir;
    TxButton ButtonBrowse;
    TxLabel LabelSpace;

protected:
    void FormShow() override;
    void ButtonNextClick() override;

private:
    void ButtonBrowseClick();
    static void FillShortcutGroup(TxRadioGroup& group, bool bNt, int iSelected);

    CDriveSpace m_Space;
};

extern TFormStepOptions* FormStepOptions;
