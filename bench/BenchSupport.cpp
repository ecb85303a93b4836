#include "BenchSupport.h"

#include "TxHandles.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <windows.h>

double NowSeconds()
{
    static LARGE_INTEGER s_Frequency = []
    {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(s_Frequency.QuadPart);
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

PairTiming MeasurePair(int iRuns, const std::function<double()>& candidate,
                       const std::function<double()>& baseline)
{
    candidate();
    baseline();
    std::vector<double> cand, base;
    for (int i = 0; i < iRuns; ++i)
    {
        bool bCandidateFirst = i % 2 == 0;
        if (bCandidateFirst)
            cand.push_back(candidate());
        base.push_back(baseline());
        if (!bCandidateFirst)
            cand.push_back(candidate());
    }
    return {Median(cand), Median(base)};
}

PairTiming TimePair(int iRuns, const std::function<void()>& prepare,
                    const std::function<void()>& candidate, const std::function<void()>& baseline)
{
    auto timed = [&](const std::function<void()>& run)
    {
        return [&]
        {
            prepare();
            double dStart = NowSeconds();
            run();
            return NowSeconds() - dStart;
        };
    };
    PairTiming t = MeasurePair(iRuns, timed(candidate), timed(baseline));
    prepare();
    return t;
}

BenchFolder::BenchFolder(const char* pszTag)
{
    char szTemp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, szTemp);
    if (n == 0 || n >= MAX_PATH)
        Die("GetTempPathA failed");
    m_sPath = Format("%sqvbench_%s_%lu", szTemp, pszTag, GetCurrentProcessId());
    DeleteTree(m_sPath);
    if (!CreateDirectoryA(m_sPath.c_str(), nullptr))
        Die("CreateDirectoryA failed: " + m_sPath);
}

BenchFolder::~BenchFolder()
{
    DeleteTree(m_sPath);
}

void BenchFolder::Empty() const
{
    DeleteTree(m_sPath);
    if (!CreateDirectoryA(m_sPath.c_str(), nullptr))
        Die("CreateDirectoryA failed: " + m_sPath);
}

void DeleteTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    TxFindHandle hFind(FindFirstFileA((path + "\\*").c_str(), &data));
    if (hFind.IsValid())
    {
        do
        {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(hFind.Get(), &data));
    }
    RemoveDirectoryA(path.c_str());
}

void WritePatternFile(const std::string& path, unsigned long long qwSize)
{
    TxFileHandle hFile(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!hFile.IsValid())
        Die("CreateFileA failed: " + path);
    std::vector<unsigned> block(256 * 1024);
    unsigned uState = 12345;
    while (qwSize > 0)
    {
        for (unsigned& u : block)
            u = uState = uState * 1664525u + 1013904223u;
        DWORD dwChunk = static_cast<DWORD>(
            std::min<unsigned long long>(qwSize, block.size() * sizeof(unsigned)));
        DWORD dwWritten = 0;
        if (!WriteFile(hFile.Get(), block.data(), dwChunk, &dwWritten, nullptr) ||
            dwWritten != dwChunk)
            Die("WriteFile failed: " + path);
        qwSize -= dwChunk;
    }
}

void Die(const std::string& message)
{
    std::fprintf(stderr, "bench: error: %s (last error %lu)\n", message.c_str(), GetLastError());
    std::fflush(stderr);
    std::exit(2);
}

void PrintResult(const std::string& sMeasure, const std::string& sCandidate,
                 const std::string& sBaseline, const std::string& sFigure, const std::string& sGoal,
                 bool bMet)
{
    std::printf("RESULT|%s|%s|%s|%s|%s|%s\n", sMeasure.c_str(), sCandidate.c_str(),
                sBaseline.c_str(), sFigure.c_str(), sGoal.c_str(), bMet ? "yes" : "NO");
    std::fflush(stdout);
}

std::string Format(const char* pszFormat, ...)
{
    char szText[1024];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof(szText), pszFormat, args);
    va_end(args);
    return szText;
}
