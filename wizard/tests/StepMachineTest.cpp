#include "StepMachine.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace
{
// Plays the wizard: runs one step per posted message, answers the dialogs
// from a script and records what the machine asked for.
class ScriptedHost : public IStepHost
{
public:
    bool bArchiveOk = true;
    std::deque<StepOutcome> outcomes;
    std::vector<int> shown;
    std::vector<std::string> calls;
    int iPosted = 0;
    bool bEnded = false;

    bool OpenArchive() override
    {
        calls.push_back("open");
        return bArchiveOk;
    }
    StepOutcome ShowStep(int iCode) override
    {
        shown.push_back(iCode);
        StepOutcome outcome = {false, true};
        if (!outcomes.empty())
        {
            outcome = outcomes.front();
            outcomes.pop_front();
        }
        return outcome;
    }
    void CloseArchive() override { calls.push_back("close"); }
    void EndProgram() override
    {
        calls.push_back("end");
        bEnded = true;
    }
    void PostNextStep() override { ++iPosted; }

    // Runs the machine like the message loop: one step per posted message.
    void Run(CStepMachine& machine)
    {
        machine.NextStep(*this);
        for (int i = 0; i < 100 && iPosted > 0 && !bEnded; ++i)
        {
            --iPosted;
            machine.NextStep(*this);
        }
    }
};

constexpr StepOutcome NEXT = {false, true};
constexpr StepOutcome PREVIOUS = {false, false};
constexpr StepOutcome CANCEL = {true, true};
} // namespace

TEST(StepMachineTest, TableWithAndWithoutImages)
{
    CStepMachine machine;
    machine.Build(3);
    EXPECT_EQ(std::vector<int>(machine.Steps, machine.Steps + STEP_TABLE_SIZE),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 0, 0, 0, 9}));
    EXPECT_EQ(machine.CurrentStep, 0);

    machine.CurrentStep = 4;
    machine.Build(0);
    EXPECT_EQ(std::vector<int>(machine.Steps, machine.Steps + STEP_TABLE_SIZE),
              (std::vector<int>{1, 2, 3, 5, 6, 0, 0, 0, 0, 9}));
    EXPECT_EQ(machine.CurrentStep, 0);
}

TEST(StepMachineTest, StraightThroughRunsEveryStepAndClosesTheArchive)
{
    CStepMachine machine;
    machine.Build(1);
    ScriptedHost host;
    host.Run(machine);
    EXPECT_EQ(host.shown,
              (std::vector<int>{STEP_WELCOME, STEP_OPTIONS, STEP_IMAGES, STEP_INSTALL, STEP_BYE}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"open", "close", "end"}));
    EXPECT_EQ(host.iPosted, 0);
    EXPECT_EQ(machine.ExitCode(), 0);
}

TEST(StepMachineTest, PreviousWalksBackOneStep)
{
    struct Case
    {
        int iImages;
        std::vector<StepOutcome> script;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // Previous on the install step without images leads to the options.
        {0,
         {NEXT, NEXT, PREVIOUS, NEXT, NEXT, NEXT},
         {STEP_WELCOME, STEP_OPTIONS, STEP_INSTALL, STEP_OPTIONS, STEP_INSTALL, STEP_BYE}},
        // With images: install back to images, images back to options.
        {2,
         {NEXT, NEXT, NEXT, PREVIOUS, PREVIOUS, NEXT, NEXT, NEXT, NEXT},
         {STEP_WELCOME, STEP_OPTIONS, STEP_IMAGES, STEP_INSTALL, STEP_IMAGES, STEP_OPTIONS,
          STEP_IMAGES, STEP_INSTALL, STEP_BYE}},
        // Options back to welcome; the welcome step always goes forward.
        {0,
         {NEXT, PREVIOUS, PREVIOUS, NEXT, NEXT, NEXT},
         {STEP_WELCOME, STEP_OPTIONS, STEP_WELCOME, STEP_OPTIONS, STEP_INSTALL, STEP_BYE}},
    };
    for (const Case& c : cases)
    {
        CStepMachine machine;
        machine.Build(c.iImages);
        ScriptedHost host;
        host.outcomes.assign(c.script.begin(), c.script.end());
        host.Run(machine);
        EXPECT_EQ(host.shown, c.expected);
        EXPECT_TRUE(host.bEnded);
    }
}

TEST(StepMachineTest, ConfirmedCancelEndsWithoutPostingOrClosingTheArchive)
{
    for (int iCancelAt = 0; iCancelAt < 4; ++iCancelAt)
    {
        CStepMachine machine;
        machine.Build(1);
        ScriptedHost host;
        for (int i = 0; i < iCancelAt; ++i)
            host.outcomes.push_back(NEXT);
        host.outcomes.push_back(CANCEL);
        host.Run(machine);
        EXPECT_EQ(static_cast<int>(host.shown.size()), iCancelAt + 1);
        EXPECT_EQ(host.calls, (std::vector<std::string>{"open", "end"}));
        EXPECT_EQ(host.iPosted, 0);
        EXPECT_EQ(machine.ExitCode(), 1602);
    }
}

TEST(StepMachineTest, FailedArchiveGoesToTheClosingStepWithoutAnyDialog)
{
    CStepMachine machine;
    machine.Build(1);
    ScriptedHost host;
    host.bArchiveOk = false;
    machine.NextStep(host);
    EXPECT_EQ(machine.CurrentStep, STEP_CLOSE_INDEX);
    EXPECT_EQ(host.iPosted, 1);
    host.iPosted = 0;
    host.Run(machine);
    EXPECT_TRUE(host.shown.empty());
    EXPECT_EQ(host.calls, (std::vector<std::string>{"open", "close", "end"}));
    EXPECT_EQ(machine.ExitCode(), 1603);
}

TEST(StepMachineTest, FinishStepEndsWhateverItsResult)
{
    CStepMachine machine;
    machine.Build(0);
    machine.CurrentStep = 4;
    ScriptedHost host;
    // The finish step after a failed installation closed by the system.
    host.outcomes.push_back({true, true, 1603});
    machine.NextStep(host);
    EXPECT_EQ(host.shown, (std::vector<int>{STEP_BYE}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"close", "end"}));
    EXPECT_EQ(host.iPosted, 0);
    EXPECT_EQ(machine.ExitCode(), 1603);
}

TEST(StepMachineTest, EmptyEntryDoesNothing)
{
    CStepMachine machine;
    machine.Build(0);
    machine.CurrentStep = 6;
    ScriptedHost host;
    machine.NextStep(host);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(host.shown.empty());
    EXPECT_EQ(host.iPosted, 0);
}

// What a user sees on each step of a walk: Next and Cancel until the finish
// step, which offers Close alone and gives it the focus; Previous exactly
// where pressing it leads back to the step shown before.
TEST(StepMachineTest, ButtonsOfferWhatEachStepDoes)
{
    for (int iImages : {0, 2})
    {
        CStepMachine machine;
        machine.Build(iImages);
        ScriptedHost walk;
        walk.Run(machine);
        for (size_t i = 0; i < walk.shown.size(); ++i)
        {
            SCOPED_TRACE("images " + std::to_string(iImages) + ", step " +
                         std::to_string(walk.shown[i]));
            bool bFinish = i + 1 == walk.shown.size();
            StepButtons b = CStepMachine::ButtonsFor(walk.shown[i]);
            EXPECT_EQ(b.bNext, !bFinish);
            EXPECT_EQ(b.bCancel, !bFinish);
            EXPECT_EQ(b.bClose, bFinish);
            EXPECT_EQ(b.bFocusClose, bFinish);

            CStepMachine back;
            back.Build(iImages);
            ScriptedHost host;
            host.outcomes.assign(i, NEXT);
            host.outcomes.push_back(PREVIOUS);
            host.Run(back);
            bool bLeadsBack =
                i > 0 && host.shown.size() > i + 1 && host.shown[i + 1] == walk.shown[i - 1];
            EXPECT_EQ(b.bPrevious, bLeadsBack);
        }
    }
}
