#include "UnattendedMessages.h"

#include "CLog.h"
#include "StringTables.h"

#include <windows.h>

namespace
{
struct SilentAnswerEntry
{
    const TxString* pCaption;
    int iAnswer;
};

// Every box an installation without the wizard may meet, by its caption.
// A box whose caption is not here gets its default button.
const SilentAnswerEntry SILENT_ANSWERS[] = {
    // The archive is missing or damaged, a target folder cannot be made:
    // the run fails with 1603 (rolled back once copying has begun).
    {&gls_Error, IDOK},
    // A file cannot be copied: rolled back, 1603.
    {&gls_CopyError, IDOK},
    // The checks before copying refuse the folder or find too little room:
    // nothing is made, 1603.
    {&gls_InsufficientRights, IDOK},
    {&gls_CannotInstall, IDOK},
    // Never asked without the wizard: Cancel in the progress window stops
    // at once, as Stop answered Yes does.
    {&gls_StopRequested, IDYES},
    {&gls_CancelRequest, IDYES},
};

int DefaultButton(unsigned uFlags)
{
    static const int BUTTONS[][3] = {
        {IDOK, IDOK, IDOK},            // MB_OK
        {IDOK, IDCANCEL, IDCANCEL},    // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},  // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},       // MB_YESNOCANCEL
        {IDYES, IDNO, IDNO},           // MB_YESNO
        {IDRETRY, IDCANCEL, IDCANCEL}, // MB_RETRYCANCEL
    };
    unsigned uType = uFlags & MB_TYPEMASK;
    unsigned uDefault = (uFlags & MB_DEFMASK) >> 8;
    if (uType >= sizeof(BUTTONS) / sizeof(BUTTONS[0]) || uDefault > 2)
        return IDOK;
    return BUTTONS[uType][uDefault];
}

const char* AnswerName(int iAnswer)
{
    switch (iAnswer)
    {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    default:
        return "other";
    }
}
} // namespace

int SilentAnswer(const char* pszCaption, unsigned uFlags)
{
    for (const SilentAnswerEntry& entry : SILENT_ANSWERS)
        if (entry.pCaption->IsEqual(pszCaption))
            return entry.iAnswer;
    return DefaultButton(uFlags);
}

int CUnattendedMessages::ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags)
{
    if (m_pBoxes != nullptr)
    {
        int iAnswer = m_pBoxes->ShowMessage(pszText, pszCaption, uFlags);
        TX_LOG("CUnattendedMessages::ShowMessage - box shown: caption=%s, text=%s, answer=%s",
               pszCaption, pszText, AnswerName(iAnswer));
        return iAnswer;
    }
    int iAnswer = SilentAnswer(pszCaption, uFlags);
    TX_LOG("CUnattendedMessages::ShowMessage - box answered without showing it: caption=%s, "
           "text=%s, answer=%s",
           pszCaption, pszText, AnswerName(iAnswer));
    return iAnswer;
}
