#include "BatchDriver.h"

#include "TestSupport.h"
#include "TxHandles.h"

#include <cstdio>
#include <windows.h>

namespace
{
std::string OwnPath()
{
    char szPath[MAX_PATH * 2] = "";
    DWORD n = GetModuleFileNameA(nullptr, szPath, sizeof(szPath));
    return n > 0 && n < sizeof(szPath) ? szPath : "";
}

std::string StateFilePath(const std::string& sMode)
{
    char szTemp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, szTemp);
    return std::string(szTemp) + "qv_robust_" + sMode + "_" +
           std::to_string(GetCurrentProcessId()) + ".state";
}

bool ReadState(const std::string& sPath, CBatchState& state)
{
    state = CBatchState{-1, 0, 0, -1, 0, 0, 0};
    TxFileHandle hFile(CreateFileA(sPath.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    if (!hFile.IsValid())
        return false;
    DWORD dwRead = 0;
    return ReadFile(hFile.Get(), &state, sizeof(state), &dwRead, nullptr) &&
           dwRead == sizeof(state);
}

// Starts this program with the arguments; the child inherits no handles, so
// that a killed child cannot keep anything of ours open.
bool StartChild(const std::string& sArgs, TxKernelHandle& hProcess)
{
    std::string sCommand = "\"" + OwnPath() + "\" " + sArgs;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &sCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
    {
        std::fprintf(stderr, "CreateProcessA failed: error=%lu\n", GetLastError());
        return false;
    }
    TxKernelHandle hThread(pi.hThread);
    hProcess.Reset(pi.hProcess);
    return true;
}

// A child that was killed or died leaves its temp folders (qv_test_<pid>_<n>)
// behind; a broken build under test may have filled them with gigabytes.
void RemoveChildFolders(DWORD dwProcessId)
{
    char szTemp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, szTemp);
    std::string sPrefix = std::string(szTemp) + "qv_test_" + std::to_string(dwProcessId) + "_";
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA((sPrefix + "*").c_str(), &data));
    for (bool bMore = hFind.IsValid(); bMore; bMore = FindNextFileA(hFind.Get(), &data))
        DeleteTree(szTemp + std::string(data.cFileName));
}

enum BatchEnd
{
    BATCH_EXITED,
    BATCH_HUNG,
};

// Waits for the child; a variant that makes no progress for dwHangMs is a hang.
BatchEnd WaitForBatch(HANDLE hProcess, const std::string& sState, unsigned long dwHangMs)
{
    long iLast = -2;
    DWORD dwStill = 0;
    const DWORD dwPoll = 200;
    for (;;)
    {
        if (WaitForSingleObject(hProcess, dwPoll) == WAIT_OBJECT_0)
            return BATCH_EXITED;
        CBatchState state;
        ReadState(sState, state);
        dwStill = state.iCurrent == iLast ? dwStill + dwPoll : 0;
        iLast = state.iCurrent;
        if (dwStill >= dwHangMs)
        {
            TerminateProcess(hProcess, 0xDEAD);
            WaitForSingleObject(hProcess, 5000);
            return BATCH_HUNG;
        }
    }
}
} // namespace

CBatchFigures RunInBatches(const std::string& sMode, long iTotal, long iBatch, unsigned uSeed,
                           unsigned long dwHangMs)
{
    CBatchFigures figures;
    std::string sState = StateFilePath(sMode);
    long iNext = 0;
    while (iNext < iTotal)
    {
        long iCount = iTotal - iNext < iBatch ? iTotal - iNext : iBatch;
        DeleteFileA(sState.c_str());
        TxKernelHandle hProcess;
        std::string sArgs = "child " + sMode + " " + std::to_string(iNext) + " " +
                            std::to_string(iCount) + " " + std::to_string(uSeed) + " \"" + sState +
                            "\"";
        if (!StartChild(sArgs, hProcess))
            break;
        BatchEnd end = WaitForBatch(hProcess.Get(), sState, dwHangMs);
        CBatchState state;
        ReadState(sState, state);
        figures.iBad += state.iBad;
        figures.iFalse += state.iFalse;
        figures.iLeft += state.iLeft;
        if (state.iFirstBad >= 0)
            figures.badVariants.push_back(state.iFirstBad);
        if (end == BATCH_EXITED && state.iDone)
        {
            figures.iTried += iCount;
            iNext += iCount;
            continue;
        }
        RemoveChildFolders(GetProcessId(hProcess.Get()));
        // The variant in hand did not finish: count it and go on after it.
        long iAt = state.iCurrent >= iNext ? state.iCurrent : iNext;
        (end == BATCH_HUNG ? figures.iHangs : figures.iCrashes)++;
        figures.badVariants.push_back(iAt);
        std::fprintf(stderr, "%s variant %ld: %s\n", sMode.c_str(), iAt,
                     end == BATCH_HUNG ? "hang" : "crash");
        figures.iTried += iAt - iNext + 1;
        iNext = iAt + 1;
    }
    DeleteFileA(sState.c_str());
    return figures;
}

bool RunProbe(const std::string& sMode, unsigned uSeed, CBatchState& state)
{
    std::string sState = StateFilePath(sMode + "_probe");
    DeleteFileA(sState.c_str());
    TxKernelHandle hProcess;
    std::string sArgs = "probe " + sMode + " 0 0 " + std::to_string(uSeed) + " \"" + sState + "\"";
    if (!StartChild(sArgs, hProcess))
        return false;
    bool bExited = WaitForBatch(hProcess.Get(), sState, 120000) == BATCH_EXITED;
    bool bRead = ReadState(sState, state);
    DeleteFileA(sState.c_str());
    return bExited && bRead && state.iDone;
}

CBatchStateWriter::CBatchStateWriter(const char* pszPath)
    : m_hFile(CreateFileA(pszPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                          CREATE_ALWAYS, 0, nullptr)),
      m_State{-1, 0, 0, -1, 0, 0, 0}
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        std::fprintf(stderr, "cannot create state file %s: error=%lu\n", pszPath, GetLastError());
    Flush();
}

CBatchStateWriter::~CBatchStateWriter()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
}

void CBatchStateWriter::Begin(long iVariant)
{
    m_State.iCurrent = iVariant;
    Flush();
}

void CBatchStateWriter::Bad(long iVariant, int iFlags)
{
    if (m_State.iFirstBad < 0)
        m_State.iFirstBad = iVariant;
    m_State.iBad += (iFlags & VARIANT_FAILED) != 0 ? 1 : 0;
    m_State.iFalse += (iFlags & VARIANT_FALSE_SUCCESS) != 0 ? 1 : 0;
    m_State.iLeft += (iFlags & VARIANT_LEFTOVER) != 0 ? 1 : 0;
    Flush();
}

void CBatchStateWriter::Finish(long iAux)
{
    m_State.iAux = iAux;
    m_State.iDone = 1;
    Flush();
}

// The system keeps what was written when the process dies, so the driver
// reads the last variant even after a crash.
void CBatchStateWriter::Flush()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD dwWritten = 0;
    if (SetFilePointer(m_hFile, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER)
        WriteFile(m_hFile, &m_State, sizeof(m_State), &dwWritten, nullptr);
}

void RunChildBatch(CBatchStateWriter& writer, long iFirst, long iCount, const VariantCheck& check)
{
    for (long i = iFirst; i < iFirst + iCount; ++i)
    {
        writer.Begin(i);
        int iFlags = check(i);
        if (iFlags != 0)
        {
            writer.Bad(i, iFlags);
            std::fprintf(stderr, "variant %ld failed its check\n", i);
        }
    }
    writer.Finish();
}
