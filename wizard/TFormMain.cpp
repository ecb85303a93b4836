#include "TFormMain.h"

#include "CSetupDatFile.h"
#include "Environment.h"
#include "ExitCodes.h"
#include "LanguageCatalogue.h"
#include "LogoPicture.h"
#include "MessageBoxView.h"
#include "SetupArchive.h"
#include "SetupState.h"
#include "TxPaths.h"
#include "StringTables.h"
#include "TFormStepBye.h"
#include "TFormStepInstall.h"
#include "TFormStepOptions.h"
#include "TFormStepPhotos.h"
#include "TFormStepWelcome.h"
#include "TxApplication.h"
#include "WizardForms.h"
#include "WizardMessages.h"

TFormMain* FormMain = nullptr;

namespace
{
constexpr int LOGO_MARGIN = 16;

TFormStep* StepForm(int iCode)
{
    switch (iCode)
    {
    case STEP_WELCOME:
        return FormStepWelcome;
    case STEP_OPTIONS:
        return FormStepOptions;
    case STEP_IMAGES:
        return FormStepPhotos;
    case STEP_INSTALL:
        return FormStepInstall;
    case STEP_BYE:
        return FormStepBye;
    default:
        return nullptr;
    }
}

const TxString& StepTitle(int iCode)
{
    switch (iCode)
    {
    case STEP_OPTIONS:
        return gls_InstallOptions;
    case STEP_IMAGES:
        return gls_Images;
    case STEP_INSTALL:
        return gls_ReadyToInstall;
    case STEP_BYE:
        return gls_SetupComplete;
    default:
        return gls_Welcome;
    }
}
} // namespace

TFormMain::TFormMain(CWizardForms& forms)
    : TxForm("TFormMain", TxBorder::Main, 640, 480), PaintBox(*this, 0, 0, 0, 0),
      ImageLogo(*this, LOGO_MARGIN, LOGO_MARGIN, LOGO_WIDTH, LOGO_HEIGHT), m_Forms(forms)
{
    // The paint box, placed at 0, 0 with a size of 0, fills the client area.
    SetCaption(Application.Title().GetText());
    // Full size while still hidden: resizing the shown window costs a
    // second layout and paint of the whole screen.
    SetBoundsPx(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    ImageLogo.SetBitmap(CreateLogoBitmap());
    // The logo lies over the background.
    SetWindowPos(ImageLogo.Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PaintBox.OnPaint = [this](HDC hDc, const RECT& rc) { PaintBoxPaint(hDc, rc); };
}

LRESULT TFormMain::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg)
    {
    case WM_SETUPSTEP:
        NextStep();
        return 0;
    case WM_CREATEFORMS:
        HaveAllForms();
        return 0;
    case WM_ERASEBKGND:
        // The paint box covers the whole client area.
        return 1;
    default:
        return TxForm::WindowProc(uMsg, wParam, lParam);
    }
}

void TFormMain::FormShow()
{
    SetBoundsPx(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    PrepareEnvironment(TxProgramPath().GetText());
    m_Steps.Build(g_ImageFiles.GetCount());
    // Runs only after this handler has returned, with the list filled.
    PostNextStep();
    FillLanguageList();
}

void TFormMain::FillLanguageList()
{
    TxCollection languages(32, 64);
    TxString sDefault;
    LoadLanguages(languages, sDefault);
    SetDefaultTexts();
    // The default language, when listed, is chosen as by a click; otherwise
    // the forms show the built-in English texts.
    if (!FormStepWelcome->ListLanguages(languages, sDefault))
        SetCaptions();
}

void TFormMain::FormCloseRequest()
{
    // While a step dialog is open the wizard ends only through it.
    if (Application.ModalForm() == nullptr)
        EndProgram();
}

void TFormMain::PaintBoxPaint(HDC hDc, const RECT& rc)
{
    // The bands follow the screen's own height in pixels, at any DPI.
    int iWidth = rc.right - rc.left;
    int iBand = (rc.bottom - rc.top) / 256 + 1;
    HGDIOBJ hBrush = GetStockObject(DC_BRUSH);
    for (int i = 0; i < 256; ++i)
    {
        RECT rcBand = {0, i * iBand, iWidth, i * iBand + iBand};
        SetDCBrushColor(hDc, RGB(0, 0, i));
        FillRect(hDc, &rcBand, static_cast<HBRUSH>(hBrush));
    }
}

void TFormMain::SetCaptions()
{
    m_Forms.SetCaptions();
}

bool TFormMain::HaveAllForms()
{
    try
    {
        m_Forms.CreateRemaining();
        return true;
    }
    catch (const std::exception& e)
    {
        // As a failure to make a form before the message loop: shown, then the end.
        Application.ShowException(e);
        EndProgram();
        return false;
    }
}

void TFormMain::NextStep()
{
    m_Steps.NextStep(*this);
}

bool TFormMain::OpenArchive()
{
    CMessageBoxView view;
    return OpenSetupArchive(g_SetupDat, view);
}

StepOutcome TFormMain::ShowStep(int iCode)
{
    if (iCode == STEP_WELCOME)
        Post(WM_CREATEFORMS);
    else if (!HaveAllForms())
        return {true, false, SETUP_EXIT_FAILED};
    TFormStep* pForm = StepForm(iCode);
    if (pForm == nullptr)
        return {true, false};
    pForm->Prepare(Caption().GetText(), StepTitle(iCode).GetText(),
                   CStepMachine::ButtonsFor(iCode));
    int iResult = pForm->ShowModal();
    return {iResult == MR_CANCEL, pForm->GoOn(), pForm->ExitCode()};
}

void TFormMain::CloseArchive()
{
    g_SetupDat.CloseDatFile();
}

void TFormMain::EndProgram()
{
    Hide();
    Application.Terminate();
}

void TFormMain::PostNextStep()
{
    Post(WM_SETUPSTEP);
}
