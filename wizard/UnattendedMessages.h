#pragma once

#include "IMessageView.h"

// The message boxes of a run without the wizard. Each one is logged; with
// /SUPPRESSMSGBOXES none is shown and each gets its answer from the table
// of silent answers (README, "Deploying", lists every box and its answer).
class CUnattendedMessages : public IMessageView
{
public:
    // pBoxes shows real boxes; null shows none.
    explicit CUnattendedMessages(IMessageView* pBoxes) : m_pBoxes(pBoxes) {}

    int ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags) override;

private:
    IMessageView* m_pBoxes;
};

// The answer to a box that is not shown: the table's answer for its caption
// (a text of the current language), else its default button.
int SilentAnswer(const char* pszCaption, unsigned uFlags);
