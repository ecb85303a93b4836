#pragma once

#include "TxCollection.h"
#include "TxString.h"

// The language of a run without the welcome step: an unattended installation
// and the boxes the setup shows before its wizard.

// The index in languages (COneLanguage items) of the first one whose name or
// English name is pszWanted, letter case ignored; -1 when none is.
int FindLanguage(const TxCollection& languages, const char* pszWanted);

// Reads the language file beside the program, gives every text its English
// default and makes a language current: pszWanted (see FindLanguage) when
// it is listed, else the system's, as the welcome step chooses it. Returns
// the name of the language made current; empty when the texts stay English
// because the file lists no language of the system.
TxString LoadStartLanguage(const char* pszWanted);
