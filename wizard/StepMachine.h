#pragma once

// Step codes of the wizard's step table.
enum StepCode
{
    STEP_NONE = 0,
    STEP_OPEN = 1,
    STEP_WELCOME = 2,
    STEP_OPTIONS = 3,
    STEP_IMAGES = 4,
    STEP_INSTALL = 5,
    STEP_BYE = 6,
    STEP_CLOSE = 9,
};

constexpr int STEP_TABLE_SIZE = 10;
constexpr int STEP_CLOSE_INDEX = 9;

// How a step dialog was left.
struct StepOutcome
{
    bool bCancelled; // closed with the result Cancel
    bool bGoOn;      // left with Next (true) or Previous (false)
    // The program's exit code should it end after this step; 0 where the
    // step does not decide it (the finish step's 0 is a success).
    int iExitCode = 0;
};

// What the step machine needs of the wizard: the archive, the dialogs and
// the program's end. The main form implements it; tests fake it.
class IStepHost
{
public:
    virtual ~IStepHost() = default;
    // Opens the archive and checks the install plan; false after the user
    // has been told why not.
    virtual bool OpenArchive() = 0;
    // Prepares and shows the dialog of a step modally.
    virtual StepOutcome ShowStep(int iCode) = 0;
    virtual void CloseArchive() = 0;
    // Closes the main form, which ends the program.
    virtual void EndProgram() = 0;
    // Posts the step message that runs the next step.
    virtual void PostNextStep() = 0;
};

// Which of the shared buttons a step dialog shows and which one gets the focus.
struct StepButtons
{
    bool bPrevious;
    bool bNext;
    bool bCancel;
    bool bClose;
    bool bFocusClose; // the focus goes to Close instead of Next
};

// The wizard's step table and the decisions of the step message.
class CStepMachine
{
public:
    CStepMachine();

    // Fills the table: open, welcome, options, images (only with at least
    // one image), install, finish; index 9 closes. Starts at index 0.
    void Build(int iImageCount);
    // Runs the step at CurrentStep, one per step message.
    void NextStep(IStepHost& host);
    int CurrentCode() const;
    // The exit code of the run as far as it has come: 1602 until the finish
    // step says otherwise or the archive check fails (1603).
    int ExitCode() const { return m_iExitCode; }

    static StepButtons ButtonsFor(int iCode);

    int Steps[STEP_TABLE_SIZE];
    int CurrentStep;

private:
    void RunDialogStep(IStepHost& host, int iCode);

    int m_iExitCode;
};
