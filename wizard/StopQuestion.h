#pragma once

#include "TxCallback.h"

// What the install step does once the Stop question is answered.
enum StopDecision
{
    STOP_KEEP_COPYING = 0,   // No, or the question was open already: nothing to do
    STOP_RESUME_COPYING = 1, // No, and a step came in meanwhile: post it again
    STOP_INSTALLATION = 2,   // Yes
};

// The Stop question of the install step. The message box runs a message
// loop of its own, which would run the queued install step while the user
// decides; the step waits for the answer instead and runs after a No.
class CStopQuestion
{
public:
    // An install step message came in: true when the engine may run it now,
    // false when it waits for the answer.
    bool TakeStep();
    // Asks through askUser (true for Yes) unless the question is open already.
    StopDecision Ask(const TxCallback<bool()>& askUser);

private:
    bool m_bOpen = false;
    bool m_bStepWaiting = false;
};
