#pragma once

#include "TxButton.h"
#include "TxEdit.h"
#include "TxForm.h"

// Asks for the name of a new folder; OK is enabled only for a valid name.
class TFormNewFolder : public TxForm
{
public:
    TFormNewFolder();

    void SetTexts();

    TxEdit EditNewFolder;
    TxButton ButtonOk;
    TxButton ButtonCancel;

protected:
    void FormShow() override;

private:
    void EditNewFolderChange();
};

extern TFormNewFolder* FormNewFolder;
