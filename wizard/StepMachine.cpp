#include "StepMachine.h"

#include "ExitCodes.h"

CStepMachine::CStepMachine() : Steps{}, CurrentStep(0), m_iExitCode(SETUP_EXIT_CANCELLED)
{
    Steps[STEP_CLOSE_INDEX] = STEP_CLOSE;
}

void CStepMachine::Build(int iImageCount)
{
    for (int& iStep : Steps)
        iStep = STEP_NONE;
    int i = 0;
    Steps[i++] = STEP_OPEN;
    Steps[i++] = STEP_WELCOME;
    Steps[i++] = STEP_OPTIONS;
    if (iImageCount > 0)
        Steps[i++] = STEP_IMAGES;
    Steps[i++] = STEP_INSTALL;
    Steps[i++] = STEP_BYE;
    Steps[STEP_CLOSE_INDEX] = STEP_CLOSE;
    CurrentStep = 0;
}

int CStepMachine::CurrentCode() const
{
    if (CurrentStep < 0 || CurrentStep >= STEP_TABLE_SIZE)
        return STEP_NONE;
    return Steps[CurrentStep];
}

void CStepMachine::NextStep(IStepHost& host)
{
    int iCode = CurrentCode();
    switch (iCode)
    {
    case STEP_OPEN:
        if (!host.OpenArchive())
        {
            CurrentStep = STEP_CLOSE_INDEX;
            m_iExitCode = SETUP_EXIT_FAILED;
        }
        if (CurrentStep != STEP_CLOSE_INDEX)
            ++CurrentStep;
        host.PostNextStep();
        break;
    case STEP_WELCOME:
    case STEP_OPTIONS:
    case STEP_IMAGES:
    case STEP_INSTALL:
        RunDialogStep(host, iCode);
        break;
    case STEP_BYE:
        m_iExitCode = host.ShowStep(iCode).iExitCode;
        host.CloseArchive();
        host.EndProgram();
        break;
    case STEP_CLOSE:
        host.CloseArchive();
        host.EndProgram();
        break;
    default:
        break;
    }
}

void CStepMachine::RunDialogStep(IStepHost& host, int iCode)
{
    StepOutcome outcome = host.ShowStep(iCode);
    if (outcome.bCancelled)
    {
        m_iExitCode = outcome.iExitCode != 0 ? outcome.iExitCode : SETUP_EXIT_CANCELLED;
        host.EndProgram();
        return;
    }
    bool bForward = iCode == STEP_WELCOME || outcome.bGoOn;
    if (CurrentStep != STEP_CLOSE_INDEX)
        CurrentStep += bForward ? 1 : -1;
    host.PostNextStep();
}

StepButtons CStepMachine::ButtonsFor(int iCode)
{
    switch (iCode)
    {
    case STEP_WELCOME:
        return {false, true, true, false, false};
    case STEP_OPTIONS:
    case STEP_IMAGES:
    case STEP_INSTALL:
        return {true, true, true, false, false};
    case STEP_BYE:
        return {false, false, false, true, true};
    default:
        return {false, false, true, false, false};
    }
}
