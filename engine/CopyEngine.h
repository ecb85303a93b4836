#pragma once

#include "IInstallView.h"
#include "Random64.h"
#include "TxString.h"

#include <cstdint>

class CInstallFile;
class CSetupDatFile;

// What the user chose on the images step.
enum ImageChoice
{
    IMAGES_NONE = 0,
    IMAGES_RANDOM = 1,
    IMAGES_ALL = 2,
};

// The installation itself: image selection, target folders, the agent's
// close request, then one file per install step message, each recorded in
// the install history, and the post-install configuration at the end. Any
// failure stops the run at once and leaves the undoing to the rollback.
class CCopyEngine
{
public:
    CCopyEngine(IInstallView& view, CSetupDatFile& archive);

    // Prepares the run and posts the first step. iRandomCount is the count
    // field of the images step; dwSeed seeds the image draw.
    void Start(ImageChoice choice, int iRandomCount, uint32_t dwSeed, int iStartMenuChoice,
               int iDesktopChoice);
    // Copies one entry and posts the next step, or completes or fails.
    void DoInstallStep();
    // Set by Stop and by a confirmed Cancel; the engine only reads it.
    void SetStopped() { m_bStopped = true; }
    // Clears the outcome of an earlier showing of the install step.
    void ResetOutcome();

    // Every file is in place and the post-install configuration is done.
    bool Completed() const { return m_bCompleted; }
    // A folder or a file could not be made; what was recorded is to be rolled back.
    bool Failed() const { return m_bFailed; }
    bool Stopped() const { return m_bStopped; }
    // The bytes the progress is measured against.
    unsigned long long Expected() const { return m_qwExpected; }

    // The wait after the agent's close request (its event: AGENT_CLOSE_EVENT).
    static constexpr unsigned AGENT_CLOSE_WAIT_MS = 1500;

    // Progress in percent: copied * 100 / expected, capped at 100; 0 when
    // nothing is expected.
    static int Percent(unsigned long long qwCopied, unsigned long long qwExpected);
    // The language variant name: "_" + language before the last ".", or
    // the name itself when it has no ".".
    static TxString VariantName(const char* pszName, const char* pszLanguage);

private:
    void SelectImages(ImageChoice choice, int iRandomCount, uint32_t dwSeed);
    // bForPrograms: every level made belongs to administrators.
    bool CreateTargetFolder(const TxString& sFolder, bool bForPrograms);
    // Shows the folder message and fails for a folder that depends on the
    // current folder; nothing is created then.
    bool RefuseRelativeFolder(const TxString& sFolder);
    // The folder message, then the failure.
    void FailOnFolder(const TxString& sFolder);
    void RequestAgentClose();
    void CopyPlanEntry(const CInstallFile& file);
    void CopyImageEntry(const CInstallFile& file);
    TxString PlanSource(const CInstallFile& file) const;
    // The folder a plan entry goes to.
    static TxString PlanFolder(const CInstallFile& file);
    // Puts back what a killed setup had kept aside in the folders of this run.
    void RecoverInterruptedRuns();
    bool PlanTargetFolder(const CInstallFile& file, TxString& sFolder);
    bool CopyOne(const CInstallFile& file, const TxString& sSource, const TxString& sTarget,
                 bool bPacked, int iKind);
    // Whether anything stands at the path (an entry that cannot be looked
    // at counts as one).
    static bool EntryExists(const char* pszPath);
    // Deletes what a failed copy wrote at its target, never through a link.
    static void RemovePartialCopy(const TxString& sTarget);
    void ProgressStep(const CInstallFile& file);
    void Advance();
    void Complete();
    void Fail();

    int m_iPhase;
    int m_iIndex;
    bool m_bInstallImages;
    unsigned long long m_qwCopied;
    unsigned long long m_qwExpected;
    bool m_bCompleted;
    bool m_bFailed;
    bool m_bStopped;
    IInstallView& m_View;
    CSetupDatFile& m_Archive;
    int m_iStartMenuChoice;
    int m_iDesktopChoice;
    // The subfolder found or made for the previous file; most files share one.
    TxString m_sKnownFolder;
};
