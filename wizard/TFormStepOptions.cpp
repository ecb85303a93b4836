#include "TFormStepOptions.h"

#include "FolderNames.h"
#include "SetupState.h"
#include "ShortcutDefaults.h"
#include "StringTables.h"
#include "TFormTree.h"

TFormStepOptions* FormStepOptions = nullptr;

TFormStepOptions::TFormStepOptions()
    : TFormStep("TFormStepOptions"),
      RadioGroupAddToStartMenu(*this, 16, 44, 250, 77, "Add Quorvane to Start Menu"),
      RadioGroupAddIconToDesktop(*this, 280, 44, 250, 77, "Add Quorvane icon to Desktop"),
      LabelTargetDir(*this, 16, 142, 0, 0, "Install to folder:", TxLabelKind::AutoSize),
      EditDstDir(*this, 24, 159, 449, 21), ButtonBrowse(*this, 472, 159, 59, 21, "..."),
      LabelSpace(*this, 16, 193, 521, 32, "", TxLabelKind::WordWrap)
{
    EditDstDir.OnChange = [this] { UpdateSpaceInfo(); };
    ButtonBrowse.OnClick = [this] { ButtonBrowseClick(); };
    MoveButtonsLast();
    // The folder comes first in the tab order.
    SetWindowPos(EditDstDir.Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFormStepOptions::SetTexts(const TxString& sCaption)
{
    SetCaption(sCaption.GetText());
    LabelCaption.SetText(gls_InstallOptions.GetText());
    LabelTargetDir.SetText(gls_InstallTo.GetText());
    SetButtonTexts();
    RadioGroupAddToStartMenu.SetText(gls_AddToStartMenu.GetText());
    RadioGroupAddIconToDesktop.SetText(gls_AddToDesktop.GetText());
}

bool TFormStepOptions::IsNtFamily()
{
    return ::IsNtFamily();
}

void TFormStepOptions::FillShortcutGroup(TxRadioGroup& group, bool bNt, int iSelected)
{
    group.Clear();
    group.Add(gls_DoNotAdd.GetText());
    if (bNt)
    {
        group.Add(gls_AddForCurrentUser.GetText());
        group.Add(gls_AddForAllUsers.GetText());
    }
    else
        group.Add(gls_Add.GetText());
    group.SetItemIndex(iSelected);
}

void TFormStepOptions::FormShow()
{
    m_Space.Reset();
    m_bGoOn = true;
    EditDstDir.SetText(g_sDstDir.GetText());
    bool bNt = IsNtFamily();
    FillShortcutGroup(RadioGroupAddToStartMenu, bNt, DefaultStartMenuChoice(bNt));
    FillShortcutGroup(RadioGroupAddIconToDesktop, bNt, DEFAULT_DESKTOP_CHOICE);
    UpdateSpaceInfo();
}

void TFormStepOptions::UpdateSpaceInfo()
{
    if (!m_Space.Refresh(EditDstDir.GetText().GetText()))
        return;
    g_qwFreeDst = m_Space.FreeBytes();
    LabelSpace.SetText(ProgramSpaceText(m_Space.LastDrive(), g_qwFreeDst, g_qwPrgSize).GetText());
}

void TFormStepOptions::ButtonBrowseClick()
{
    TxString sPath = FormTree->Browse(EditDstDir.GetText(), g_sPrgFolderName.GetText());
    EditDstDir.SetText(sPath.GetText());
    UpdateSpaceInfo();
}

void TFormStepOptions::ButtonNextClick()
{
    m_bGoOn = true;
    g_sDstDir = TrimTargetFolder(EditDstDir.GetText().GetText());
    SetModalResult(MR_OK);
}
