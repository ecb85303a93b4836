#include "TFormNewFolder.h"

#include "FolderNames.h"
#include "StringTables.h"

TFormNewFolder* FormNewFolder = nullptr;

TFormNewFolder::TFormNewFolder()
    : TxForm("TFormNewFolder", TxBorder::ToolWindow, 297, 56), EditNewFolder(*this, 3, 4, 291, 21),
      ButtonOk(*this, 138, 29, 75, 25, "OK", true), ButtonCancel(*this, 219, 29, 75, 25, "Cancel")
{
    SetCaption("New folder");
    SetDefaultButton(&ButtonOk);
    SetCancelButton(&ButtonCancel);
    SetActiveControl(&EditNewFolder);
    ButtonOk.SetEnabled(false);
    EditNewFolder.OnChange = [this] { EditNewFolderChange(); };
    ButtonOk.OnClick = [this] { SetModalResult(MR_OK); };
    ButtonCancel.OnClick = [this] { SetModalResult(MR_CANCEL); };
}

void TFormNewFolder::SetTexts()
{
    SetCaption(gls_NewFolder.GetText());
    ButtonOk.SetText(gls_ButtonOk.GetText());
    ButtonCancel.SetText(gls_ButtonCancel.GetText());
}

void TFormNewFolder::FormShow()
{
    EditNewFolder.SetText("");
    EditNewFolderChange();
}

void TFormNewFolder::EditNewFolderChange()
{
    ButtonOk.SetEnabled(IsValidFolderName(EditNewFolder.GetText().GetText()));
}
