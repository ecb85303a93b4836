#pragma once

#include "CopyEngine.h"
#include "SpaceInfo.h"
#include "TCSpinEdit.h"
#include "TFormStep.h"
#include "TxEdit.h"
#include "TxRadioButton.h"

// The images step: none, a random selection of N or all images of the
// medium, and the folder they go to.
class TFormStepPhotos : public TFormStep
{
public:
    TFormStepPhotos();

    void SetTexts(const TxString& sCaption);
    // Refreshes the enabled states, the free-space line and the size texts.
    void UpdateImageInfo();
    // What the radio buttons say; none checked counts as no images.
    ImageChoice Choice() const;
    const TxString& LastDrive() const { return m_Space.LastDrive(); }

    TxLabel LabelImagesFound;
    TxRadioButton RadioButtonDoNotInstallImages;
    TxRadioButton RadioButtonInstallRandomlySelected;
    TxRadioButton RadioButtonInstallAll;
    TCSpinEdit CSpinEditRandomImages;
    TxLabel LabelRandomImages;
    TxLabel LabelDstImgDir;
    TxEdit EditDstImgDir;
    TxButton ButtonBrowse;
    TxLabel LabelFreeSpace;
    TxLabel LabelNote;

protected:
    void FormShow() override;
    void ButtonNextClick() override;

private:
    void ButtonBrowseClick();

    CDriveSpace m_Space;
};

extern TFormStepPhotos* FormStepPhotos;
