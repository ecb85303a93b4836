#include "TFormStepPhotos.h"

#include "ImageInfo.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TFormTree.h"

TFormStepPhotos* FormStepPhotos = nullptr;

namespace
{
// The radio button's circle and the gap before its text.
constexpr int RADIO_MARK_WIDTH = 24;
} // namespace

TFormStepPhotos::TFormStepPhotos()
    : TFormStep("TFormStepPhotos"),
      LabelImagesFound(*this, 16, 44, 0, 0, "", TxLabelKind::AutoSize),
      RadioButtonDoNotInstallImages(*this, 24, 64, 500, 17, "Do not install any images", true),
      RadioButtonInstallRandomlySelected(*this, 24, 87, 220, 17,
                                         "Install random selection of images:", false),
      RadioButtonInstallAll(*this, 24, 110, 500, 17, "Install all images (requires %s).", false),
      CSpinEditRandomImages(*this, 248, 85, 64, 21),
      LabelRandomImages(*this, 320, 89, 0, 0, "images, about %s", TxLabelKind::AutoSize),
      LabelDstImgDir(*this, 16, 140, 0, 0, "Install images to:", TxLabelKind::AutoSize),
      EditDstImgDir(*this, 24, 157, 449, 21), ButtonBrowse(*this, 472, 157, 59, 21, "..."),
      LabelFreeSpace(*this, 16, 184, 0, 0, "", TxLabelKind::AutoSize),
      LabelNote(*this, 16, 202, 521, 32, "", TxLabelKind::WordWrap)
{
    RadioButtonInstallRandomlySelected.SetChecked(true);
    CSpinEditRandomImages.SetMinValue(1);
    RadioButtonDoNotInstallImages.OnClick = [this] { UpdateImageInfo(); };
    RadioButtonInstallRandomlySelected.OnClick = [this] { UpdateImageInfo(); };
    RadioButtonInstallAll.OnClick = [this] { UpdateImageInfo(); };
    CSpinEditRandomImages.OnChange = [this] { UpdateImageInfo(); };
    EditDstImgDir.OnChange = [this] { UpdateImageInfo(); };
    ButtonBrowse.OnClick = [this] { ButtonBrowseClick(); };
    // The count and its label follow the choice's text, however long the
    // translation is.
    RadioButtonInstallRandomlySelected.SetSizedToText(RADIO_MARK_WIDTH);
    CSpinEditRandomImages.SetFollows(RadioButtonInstallRandomlySelected, 4);
    LabelRandomImages.SetFollows(CSpinEditRandomImages, 8);
    MoveButtonsLast();
}

void TFormStepPhotos::SetTexts(const TxString& sCaption)
{
    SetCaption(sCaption.GetText());
    LabelCaption.SetText(gls_Images.GetText());
    LabelDstImgDir.SetText(gls_InstallImagesTo.GetText());
    LabelNote.SetText(gls_ImagesNote.GetText());
    SetButtonTexts();
    RadioButtonDoNotInstallImages.SetText(gls_InstallNoImages.GetText());
    RadioButtonInstallRandomlySelected.SetText(gls_InstallRandomImages.GetText());
}

void TFormStepPhotos::FormShow()
{
    m_Space.Reset();
    m_bGoOn = true;
    EditDstImgDir.SetText(g_sImgDstDir.GetText());
    int iCount = g_ImageFiles.GetCount();
    if (iCount > 0)
    {
        CSpinEditRandomImages.SetMaxValue(iCount);
        CSpinEditRandomImages.SetValue(iCount);
    }
    LabelImagesFound.SetText(ImagesFoundText(iCount).GetText());
    UpdateImageInfo();
}

ImageChoice TFormStepPhotos::Choice() const
{
    if (RadioButtonInstallRandomlySelected.IsChecked())
        return IMAGES_RANDOM;
    if (RadioButtonInstallAll.IsChecked())
        return IMAGES_ALL;
    return IMAGES_NONE;
}

void TFormStepPhotos::UpdateImageInfo()
{
    bool bRandom = RadioButtonInstallRandomlySelected.IsChecked();
    CSpinEditRandomImages.SetEnabled(bRandom);
    LabelRandomImages.SetEnabled(bRandom);
    if (m_Space.Refresh(EditDstImgDir.GetText().GetText()))
    {
        g_qwFreeImg = m_Space.FreeBytes();
        LabelFreeSpace.SetText(ImageSpaceText(m_Space.LastDrive(), g_qwFreeImg).GetText());
    }
    RadioButtonInstallAll.SetText(InstallAllImagesText(g_qwImgSize).GetText());
    LabelRandomImages.SetText(
        RandomImagesText(g_qwImgSize, g_ImageFiles.GetCount(), CSpinEditRandomImages.Value())
            .GetText());
}

void TFormStepPhotos::ButtonBrowseClick()
{
    TxString sPath = FormTree->Browse(EditDstImgDir.GetText(), g_sImgFolderName.GetText());
    EditDstImgDir.SetText(sPath.GetText());
    UpdateImageInfo();
}

void TFormStepPhotos::ButtonNextClick()
{
    m_bGoOn = true;
    g_sImgDstDir = EditDstImgDir.GetText();
    g_qwImgInstallSize = ImageInstallSize(Choice(), g_qwImgSize, g_ImageFiles.GetCount(),
                                          CSpinEditRandomImages.Value());
    SetModalResult(MR_OK);
}
