#include "FullDiskRuns.h"

#include "BatchDriver.h"
#include "FaultRuns.h"
#include "InstallCheck.h"
#include "InstallSandbox.h"
#include "SetupState.h"
#include "StringTables.h"
#include "TxFaultInjection.h"
#include "TxHandles.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>
#include <windows.h>

namespace
{
// Images of 10, 20 and 30 kB: several clusters each, so that a full drive
// cuts them part-way.
constexpr size_t IMAGE_UNIT = 10000;
constexpr char BALLAST_NAME[] = "qv-ballast.bin";

CInstallSandbox& Sandbox()
{
    static std::unique_ptr<CInstallSandbox> s_pSandbox(new CInstallSandbox(IMAGE_UNIT));
    return *s_pSandbox;
}

std::string DriveRoot()
{
    return SmallDrive() + "\\";
}

unsigned long long FreeBytes()
{
    ULARGE_INTEGER free = {}, total = {}, totalFree = {};
    if (!GetDiskFreeSpaceExA(DriveRoot().c_str(), &free, &total, &totalFree))
        return 0;
    return free.QuadPart;
}

unsigned long long ClusterBytes()
{
    DWORD dwSectors = 0, dwBytes = 0, dwFree = 0, dwTotal = 0;
    if (!GetDiskFreeSpaceA(DriveRoot().c_str(), &dwSectors, &dwBytes, &dwFree, &dwTotal))
        return 4096;
    return static_cast<unsigned long long>(dwSectors) * dwBytes;
}

// Takes cbFill bytes of the drive with a file of its own.
bool Fill(unsigned long long cbFill)
{
    TxFileHandle hFile(CreateFileA((DriveRoot() + BALLAST_NAME).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr));
    std::vector<char> chunk(1 << 20, 'b');
    while (hFile.IsValid() && cbFill > 0)
    {
        DWORD cbWrite = static_cast<DWORD>(cbFill < chunk.size() ? cbFill : chunk.size());
        DWORD cbWritten = 0;
        if (!WriteFile(hFile.Get(), chunk.data(), cbWrite, &cbWritten, nullptr) ||
            cbWritten != cbWrite)
            return false;
        cbFill -= cbWritten;
    }
    return hFile.IsValid();
}

void Unfill()
{
    DeleteFileA((DriveRoot() + BALLAST_NAME).c_str());
}

// Everything on the small drive goes; the sandbox's tree is made anew.
void ClearDrives(CInstallSandbox& sandbox)
{
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA((DriveRoot() + "*").c_str(), &data));
    for (bool bMore = hFind.IsValid(); bMore; bMore = FindNextFileA(hFind.Get(), &data))
        if (lstrcmpA(data.cFileName, ".") != 0 && lstrcmpA(data.cFileName, "..") != 0)
            DeleteTree(DriveRoot() + data.cFileName);
    DeleteTree(sandbox.TargetTree());
    CreateDirectoryA(sandbox.TargetTree().c_str(), nullptr);
    CreateDirectoryA(sandbox.Target("System32").c_str(), nullptr);
    CreateDirectoryA(sandbox.Target("Desktop").c_str(), nullptr);
}

// One placement: the program folder or the image folder on the small drive,
// with or without an earlier installation; the machine before its runs and
// the free space a clean installation leaves after each file.
class CPlacement
{
public:
    explicit CPlacement(int iPlacement) : m_iPlacement(iPlacement) {}

    // Makes the machine of the placement and measures it; false when the
    // clean installation did not complete or left something.
    bool Make(CInstallSandbox& sandbox)
    {
        ClearDrives(sandbox);
        Start().RestoreRegistry();
        TxFaultArm(0);
        bool bImagesThere = (m_iPlacement & 1) != 0;
        sandbox.SetTargets(bImagesThere ? "" : DriveRoot() + "Program Files\\Quorvane",
                           bImagesThere ? DriveRoot() + "Pictures\\Quorvane" : "");
        if ((m_iPlacement & 2) != 0 && !sandbox.InstallEarlier())
        {
            std::fprintf(stderr, "full disk: the earlier installation did not complete\n");
            return false;
        }
        Snapshot();
        if (!Measure(sandbox))
        {
            std::fprintf(stderr, "full disk: the clean installation did not complete\n");
            return false;
        }
        return ReportRun(-1, "left by the clean installation", Differences(sandbox));
    }
    // The files, counted from 1, that take room on the small drive.
    const std::vector<int>& FilesThere() const { return m_FilesThere; }
    // The free space the drive must have at the start so that file iFile
    // fails part-way (at its first cluster when it has only one).
    unsigned long long FreeFor(int iFile) const
    {
        unsigned long long qwBefore = m_Free[0] - m_Free[iFile - 1];
        unsigned long long qwFile = m_Free[iFile - 1] - m_Free[iFile];
        unsigned long long qwCluster = ClusterBytes();
        return qwBefore + qwFile / 2 / qwCluster * qwCluster;
    }
    std::vector<std::string> Differences(const CInstallSandbox& sandbox) const
    {
        std::vector<std::string> lines =
            CMachineSnapshot(SmallDrive(), {}).DifferencesFrom(*m_pDrive);
        for (const std::string& sLine :
             CMachineSnapshot(sandbox.TargetTree(), PRODUCT_KEYS).DifferencesFrom(*m_pTree))
            lines.push_back(sLine);
        return lines;
    }

private:
    // The registry as the child found it; put back when it ends.
    struct CRegistryAtStart
    {
        CMachineSnapshot snapshot{"", PRODUCT_KEYS};
        ~CRegistryAtStart() { snapshot.RestoreRegistry(); }
    };
    static CMachineSnapshot& Start()
    {
        static CRegistryAtStart s_Start;
        return s_Start.snapshot;
    }

    void Snapshot()
    {
        m_pDrive.reset(new CMachineSnapshot(SmallDrive(), {}));
        m_pTree.reset(new CMachineSnapshot(Sandbox().TargetTree(), PRODUCT_KEYS));
    }

    bool Measure(CInstallSandbox& sandbox)
    {
        if (!sandbox.Prepare())
            return false;
        m_Free = {FreeBytes()};
        CFakeInstallView view;
        view.m_OnFile = [this](int) { m_Free.push_back(FreeBytes()); };
        CCopyEngine engine(view, g_SetupDat);
        sandbox.Install(engine, view);
        bool bDone = engine.Completed() && view.m_Messages.empty();
        sandbox.RollBackAndClose();
        for (const std::string& sMessage : view.m_Messages)
            std::fprintf(stderr, "full disk: clean installation: %s\n", sMessage.c_str());
        m_FilesThere.clear();
        for (size_t i = 1; i < m_Free.size(); ++i)
            if (m_Free[i] < m_Free[i - 1])
                m_FilesThere.push_back(static_cast<int>(i));
        return bDone && !m_FilesThere.empty();
    }

    int m_iPlacement;
    std::unique_ptr<CMachineSnapshot> m_pDrive;
    std::unique_ptr<CMachineSnapshot> m_pTree;
    std::vector<unsigned long long> m_Free;
    std::vector<int> m_FilesThere;
};

// The placement the child's machine is in now; made again after a run
// that changed it.
CPlacement* Current(int iPlacement, bool bRemake)
{
    static std::unique_ptr<CPlacement> s_pCurrent;
    static int s_iCurrent = -1;
    if (bRemake || s_iCurrent != iPlacement)
    {
        s_pCurrent.reset(new CPlacement(iPlacement));
        s_iCurrent = s_pCurrent->Make(Sandbox()) ? iPlacement : -1;
        if (s_iCurrent < 0)
            std::fprintf(stderr, "full disk: placement %d could not be made\n", iPlacement);
    }
    return s_iCurrent == iPlacement ? s_pCurrent.get() : nullptr;
}

bool IsCopyErrorBox(const CFakeInstallView& view)
{
    std::string sCopy = std::string(gls_CopyError.GetText()) + "|";
    return view.m_Messages.size() == 1 && IsEngineFailureBox(view.m_Messages.front()) &&
           view.m_Messages.front().compare(0, sCopy.size(), sCopy) == 0;
}
} // namespace

std::string SmallDrive()
{
    const char* pszDrive = std::getenv("QV_SMALL_DRIVE");
    return pszDrive != nullptr ? pszDrive : "";
}

void ProbeFullDiskRuns(CBatchStateWriter& writer)
{
    CPlacement* pProgram = Current(0, true);
    long iPlanFiles = pProgram != nullptr ? static_cast<long>(pProgram->FilesThere().size()) : 0;
    CPlacement* pImages = Current(1, true);
    long iImages = pImages != nullptr ? static_cast<long>(pImages->FilesThere().size()) : 0;
    if (iPlanFiles > 0 && iImages > 0)
        writer.Finish(iPlanFiles * 1000 + iImages);
}

int CheckFullDiskRun(long iRun, long iPlanFiles, long iImages)
{
    // Runs 0 ... plan files - 1: the program folder there, then the images;
    // the same again over an earlier installation.
    long iHalf = iPlanFiles + iImages;
    int iPlacement = (iRun % iHalf < iPlanFiles ? 0 : 1) | (iRun >= iHalf ? 2 : 0);
    long k = iRun % iHalf - (iPlacement & 1 ? iPlanFiles : 0);
    CPlacement* pPlacement = Current(iPlacement, false);
    if (pPlacement == nullptr || k >= static_cast<long>(pPlacement->FilesThere().size()))
        return VARIANT_FAILED;
    CInstallSandbox& sandbox = Sandbox();
    unsigned long long qwWanted = pPlacement->FreeFor(pPlacement->FilesThere()[k]);
    unsigned long long qwFree = FreeBytes();
    if (qwFree < qwWanted || !Fill(qwFree - qwWanted) || !sandbox.Prepare())
    {
        Unfill();
        std::fprintf(stderr, "full disk run %ld: cannot fill the drive to %llu bytes\n", iRun,
                     qwWanted);
        return VARIANT_FAILED;
    }
    CFakeInstallView view;
    CCopyEngine engine(view, g_SetupDat);
    sandbox.Install(engine, view);
    bool bEnded = engine.Failed() && !engine.Completed() && IsCopyErrorBox(view);
    if (!bEnded)
        std::fprintf(stderr, "full disk run %ld: failed=%d completed=%d, %u messages, first: %s\n",
                     iRun, engine.Failed() ? 1 : 0, engine.Completed() ? 1 : 0,
                     static_cast<unsigned>(view.m_Messages.size()),
                     view.m_Messages.empty() ? "" : view.m_Messages.front().c_str());
    sandbox.RollBackAndClose();
    Unfill();
    std::vector<std::string> differences = pPlacement->Differences(sandbox);
    int iFlags = bEnded ? 0 : VARIANT_FAILED;
    if (engine.Completed())
        iFlags |= VARIANT_FALSE_SUCCESS;
    if (!ReportRun(iRun, "differs from before", differences))
    {
        iFlags |= VARIANT_FAILED | (HasNewEntry(differences) ? VARIANT_LEFTOVER : 0);
        Current(iPlacement, true);
    }
    return iFlags;
}
