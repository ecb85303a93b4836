#pragma once

#include <functional>
#include <string>
#include <vector>

// What the child of one batch reports through its state file. The child
// writes iCurrent before each variant, so that the driver knows which one
// crashed or hung.
struct CBatchState
{
    long iCurrent;
    long iDone; // 1 once the whole batch has run
    long iBad;  // variants whose check failed (false success, leftover, ...)
    long iFirstBad;
    long iAux;   // mode-specific (the probe's operation count)
    long iFalse; // fault runs that reported success with something different
    long iLeft;  // runs that left something behind on the machine
};

// Figures of one whole run over all variants.
struct CBatchFigures
{
    long iTried = 0;
    long iCrashes = 0;
    long iHangs = 0;
    long iBad = 0;
    long iFalse = 0;
    long iLeft = 0;
    std::vector<long> badVariants; // first bad variant of each batch, crashes and hangs
};

// Runs variants 0 ... iTotal - 1 of a mode in child processes of this
// program, iBatch at a time. A child that dies counts its current variant as
// a crash, one that makes no progress for dwHangMs as a hang; either way the
// run goes on with the next variant.
CBatchFigures RunInBatches(const std::string& sMode, long iTotal, long iBatch, unsigned uSeed,
                           unsigned long dwHangMs);

// Runs one mode-specific child command and returns its state (the probe).
bool RunProbe(const std::string& sMode, unsigned uSeed, CBatchState& state);

// The child's side: writes progress and results to the state file.
class CBatchStateWriter
{
public:
    explicit CBatchStateWriter(const char* pszPath);
    ~CBatchStateWriter();
    CBatchStateWriter(const CBatchStateWriter&) = delete;
    CBatchStateWriter& operator=(const CBatchStateWriter&) = delete;

    void Begin(long iVariant);
    void Bad(long iVariant, int iFlags);
    void Finish(long iAux = 0);

private:
    void Flush();
    void* m_hFile;
    CBatchState m_State;
};

// The per-variant check of a mode: 0 when the variant behaved, else flags.
constexpr int VARIANT_FAILED = 1;
constexpr int VARIANT_FALSE_SUCCESS = 2;
constexpr int VARIANT_LEFTOVER = 4; // counted in iLeft as well as its other flags
using VariantCheck = std::function<int(long iVariant)>;
void RunChildBatch(CBatchStateWriter& writer, long iFirst, long iCount, const VariantCheck& check);
