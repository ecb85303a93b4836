#include "StopQuestion.h"

#include <gtest/gtest.h>

// The question's own message loop delivers install steps and further Stop
// clicks while it is open; none of them may run before the answer.
TEST(StopQuestion, StepsWaitForTheAnswer)
{
    struct
    {
        const char* pszCase;
        int iStepsWhileOpen;
        bool bStopAgain;
        bool bYes;
        StopDecision expected;
    } const cases[] = {
        {"No, nothing came in", 0, false, false, STOP_KEEP_COPYING},
        {"No after a step came in", 1, false, false, STOP_RESUME_COPYING},
        {"No after several steps: one is posted again", 3, false, false, STOP_RESUME_COPYING},
        {"Yes drops the waiting step", 1, false, true, STOP_INSTALLATION},
        {"Yes, nothing came in", 0, false, true, STOP_INSTALLATION},
        {"a second Stop while open asks nothing", 1, true, false, STOP_RESUME_COPYING},
    };
    for (const auto& c : cases)
    {
        CStopQuestion question;
        EXPECT_TRUE(question.TakeStep()) << c.pszCase;
        int iAsked = 0, iRun = 0;
        StopDecision again = STOP_KEEP_COPYING;
        StopDecision decision = question.Ask(
            [&]
            {
                ++iAsked;
                for (int i = 0; i < c.iStepsWhileOpen; ++i)
                    iRun += question.TakeStep() ? 1 : 0;
                if (c.bStopAgain)
                    again = question.Ask([] { return true; });
                return c.bYes;
            });
        EXPECT_EQ(decision, c.expected) << c.pszCase;
        EXPECT_EQ(iAsked, 1) << c.pszCase;
        EXPECT_EQ(iRun, 0) << c.pszCase;
        EXPECT_EQ(again, STOP_KEEP_COPYING) << c.pszCase;
        // Answered, the question lets steps through again and forgets the waiting one.
        EXPECT_TRUE(question.TakeStep()) << c.pszCase;
        EXPECT_EQ(question.Ask([] { return false; }), STOP_KEEP_COPYING) << c.pszCase;
    }
}
