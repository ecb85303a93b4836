#include "FaultRuns.h"

#include "BatchDriver.h"
#include "InstallSandbox.h"
#include "SetupState.h"
#include "TxFaultInjection.h"

#include <cstdio>
#include <memory>

namespace
{
// One sandbox per child process: the medium is made once.
CInstallSandbox& Sandbox()
{
    static std::unique_ptr<CInstallSandbox> s_pSandbox(new CInstallSandbox);
    return *s_pSandbox;
}

bool ReportLeftovers(long iRun, const std::vector<std::string>& left)
{
    for (const std::string& sPath : left)
        std::fprintf(stderr, "fault run %ld left: %s\n", iRun, sPath.c_str());
    return left.empty();
}

// A failed run shows exactly one of the engine's failure boxes; a stopped
// or completed run shows none.
bool MessagesAsSpecified(long iRun, const CCopyEngine& engine, const CFakeInstallView& view)
{
    bool bOk = engine.m_bFailed ? view.m_Messages.size() == 1 &&
                                      IsSpecifiedFailureMessage(view.m_Messages.front())
                                : view.m_Messages.empty();
    if (!bOk)
        std::fprintf(stderr, "fault run %ld: failed=%d, %u messages, first: %s\n", iRun,
                     engine.m_bFailed ? 1 : 0, static_cast<unsigned>(view.m_Messages.size()),
                     view.m_Messages.empty() ? "" : view.m_Messages.front().c_str());
    return bOk;
}
} // namespace

void ProbeFaultRuns(CBatchStateWriter& writer)
{
    CInstallSandbox& sandbox = Sandbox();
    if (!sandbox.Prepare())
        return;
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    int iFiles = 0;
    view.m_OnFile = [&iFiles](int n) { iFiles = n; };
    TxFaultArm(0);
    sandbox.Install(engine, view);
    long iOperations = TxFaultCount();
    sandbox.RollBackAndClose();
    if (!sandbox.Leftovers().empty() || engine.m_bFailed)
        return;
    writer.Finish(iOperations * 1000 + iFiles);
}

bool CheckFaultRun(long iRun, long iOperations)
{
    CInstallSandbox& sandbox = Sandbox();
    if (!sandbox.Prepare())
        return false;
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    if (iRun < iOperations)
        TxFaultArm(iRun + 1);
    else
        view.m_iStopAfter = static_cast<int>(iRun - iOperations + 1);
    sandbox.Install(engine, view);
    TxFaultArm(0);
    bool bOk = MessagesAsSpecified(iRun, engine, view);
    // The finish step rolls back after a failure or Stop; a completed run is
    // rolled back too, which is what the uninstaller does with its history.
    sandbox.RollBackAndClose();
    return ReportLeftovers(iRun, sandbox.Leftovers()) && bOk;
}
