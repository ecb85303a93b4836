#include "FaultRuns.h"

#include "BatchDriver.h"
#include "InstallCheck.h"
#include "InstallSandbox.h"
#include "RegistryHelpers.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TxFaultInjection.h"

#include <cstdio>
#include <memory>

const std::vector<std::string> PRODUCT_KEYS = {
    PRODUCT_REG_KEY, REG_RUN_KEY, std::string(REG_UNINSTALL_ROOT) + UNINSTALL_ENTRY_NAME};

bool ReportRun(long iRun, const char* pszWhat, const std::vector<std::string>& lines)
{
    for (const std::string& sLine : lines)
        std::fprintf(stderr, "fault run %ld %s: %s\n", iRun, pszWhat, sLine.c_str());
    return lines.empty();
}

// Whether the differences from a snapshot name something that was not there.
bool HasNewEntry(const std::vector<std::string>& differences)
{
    for (const std::string& sLine : differences)
        if (sLine.compare(0, 5, "new: ") == 0)
            return true;
    return false;
}

// Whether a message is one of the engine's failure boxes: "Cannot create
// folder %s" captioned "Error", or "%s -> %s\n%s" captioned "Copy Error".
bool IsEngineFailureBox(const std::string& sMessage)
{
    std::string sFolder = std::string(gls_Error.GetText()) + "|Cannot create folder ";
    std::string sCopy = std::string(gls_CopyError.GetText()) + "|";
    if (sMessage.compare(0, sFolder.size(), sFolder) == 0)
        return true;
    return sMessage.compare(0, sCopy.size(), sCopy) == 0 &&
           sMessage.find(" -> ") != std::string::npos && sMessage.find('\n') != std::string::npos;
}

namespace
{
// One sandbox per child process: the medium is made once.
CInstallSandbox& Sandbox()
{
    static std::unique_ptr<CInstallSandbox> s_pSandbox(new CInstallSandbox);
    return *s_pSandbox;
}

// A failed run shows exactly one of the engine's failure boxes; a stopped
// or completed run shows none.
bool MessagesAsExpected(long iRun, const CCopyEngine& engine, const CFakeInstallView& view)
{
    bool bOk = engine.Failed()
                   ? view.m_Messages.size() == 1 && IsEngineFailureBox(view.m_Messages.front())
                   : view.m_Messages.empty();
    if (!bOk)
        std::fprintf(stderr, "fault run %ld: failed=%d, %u messages, first: %s\n", iRun,
                     engine.Failed() ? 1 : 0, static_cast<unsigned>(view.m_Messages.size()),
                     view.m_Messages.empty() ? "" : view.m_Messages.front().c_str());
    return bOk;
}

// A run that reports success must have installed what the medium holds.
bool TrueSuccess(long iRun, const CInstallSandbox& sandbox, const CCopyEngine& engine)
{
    if (!engine.Completed() || engine.Failed() || engine.Stopped())
        return true;
    return ReportRun(iRun, "reported success but",
                     DifferencesFromMedium(sandbox.Medium(""), {true, true, true}));
}

// Run i for the operation count: operation i + 1 fails, or after the
// operations, Stop after file i - operations + 1.
void Arm(long iRun, long iOperations, CFakeInstallView& view)
{
    if (iRun < iOperations)
        TxFaultArm(iRun + 1);
    else
        view.m_iStopAfter = static_cast<int>(iRun - iOperations + 1);
}

// The earlier installation of a child and the machine as it was after it;
// the registry goes back to how it was before when the child ends.
class CEarlierInstall
{
public:
    CEarlierInstall() : m_Before("", PRODUCT_KEYS) {}
    ~CEarlierInstall() { m_Before.RestoreRegistry(); }

    // Installs (again) and takes the snapshot; false when that failed.
    bool Make(CInstallSandbox& sandbox)
    {
        DeleteTree(sandbox.TargetTree());
        CreateDirectoryA(sandbox.TargetTree().c_str(), nullptr);
        CreateDirectoryA(sandbox.Target("System32").c_str(), nullptr);
        CreateDirectoryA(sandbox.Target("Desktop").c_str(), nullptr);
        m_Before.RestoreRegistry();
        TxFaultArm(0);
        m_bMade = sandbox.InstallEarlier();
        m_pAfter.reset(new CMachineSnapshot(sandbox.TargetTree(), PRODUCT_KEYS));
        return m_bMade;
    }
    bool IsMade() const { return m_bMade; }
    std::vector<std::string> Differences(const CInstallSandbox& sandbox) const
    {
        return CMachineSnapshot(sandbox.TargetTree(), PRODUCT_KEYS).DifferencesFrom(*m_pAfter);
    }

private:
    CMachineSnapshot m_Before;
    std::unique_ptr<CMachineSnapshot> m_pAfter;
    bool m_bMade = false;
};

CEarlierInstall& Earlier()
{
    static std::unique_ptr<CEarlierInstall> s_pEarlier(new CEarlierInstall);
    return *s_pEarlier;
}
// Runs one installation with its fault or Stop, checks its messages and, if
// it reports success, the installed files, then rolls it back. Returns
// VARIANT_ flags.
int RunAndRollBack(CInstallSandbox& sandbox, long iRun, long iOperations)
{
    if (!sandbox.Prepare())
        return VARIANT_FAILED;
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    Arm(iRun, iOperations, view);
    sandbox.Install(engine, view);
    TxFaultArm(0);
    bool bOk = MessagesAsExpected(iRun, engine, view);
    bool bTrue = TrueSuccess(iRun, sandbox, engine);
    sandbox.RollBackAndClose();
    return (bOk ? 0 : VARIANT_FAILED) | (bTrue ? 0 : VARIANT_FALSE_SUCCESS);
}
} // namespace

void ProbeFaultRuns(CBatchStateWriter& writer, bool bOverEarlier)
{
    CInstallSandbox& sandbox = Sandbox();
    if (bOverEarlier && !Earlier().Make(sandbox))
    {
        std::fprintf(stderr, "the earlier installation did not complete\n");
        return;
    }
    if (!sandbox.Prepare())
        return;
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    int iFiles = 0;
    view.m_OnFile = [&iFiles](int n) { iFiles = n; };
    TxFaultArm(0);
    sandbox.Install(engine, view);
    long iOperations = TxFaultCount();
    bool bTrue = TrueSuccess(-1, sandbox, engine);
    sandbox.RollBackAndClose();
    bool bClean = bOverEarlier ? ReportRun(-1, "differs from the earlier installation",
                                           Earlier().Differences(sandbox))
                               : ReportRun(-1, "left", sandbox.Leftovers());
    if (!bClean || !bTrue || engine.Failed())
        return;
    writer.Finish(iOperations * 1000 + iFiles);
}

int CheckFaultRun(long iRun, long iOperations)
{
    // The finish step rolls back after a failure or Stop; a completed run is
    // rolled back too, which is what the uninstaller does with its history.
    CInstallSandbox& sandbox = Sandbox();
    int iFlags = RunAndRollBack(sandbox, iRun, iOperations);
    return ReportRun(iRun, "left", sandbox.Leftovers())
               ? iFlags
               : iFlags | VARIANT_FAILED | VARIANT_LEFTOVER;
}

int CheckOverEarlierRun(long iRun, long iOperations)
{
    // Every run ends in the rollback here, a completed one too: the machine
    // must then be the earlier installation as it was.
    CInstallSandbox& sandbox = Sandbox();
    if (!Earlier().IsMade() && !Earlier().Make(sandbox))
        return VARIANT_FAILED;
    int iFlags = RunAndRollBack(sandbox, iRun, iOperations);
    std::vector<std::string> differences = Earlier().Differences(sandbox);
    if (ReportRun(iRun, "differs from the earlier installation", differences))
        return iFlags;
    Earlier().Make(sandbox);
    return iFlags | VARIANT_FAILED | (HasNewEntry(differences) ? VARIANT_LEFTOVER : 0);
}
