#pragma once

#include "TxString.h"

// The setup's version as the caption shows it (1.04).
constexpr int SETUP_VERSION_MAJOR = 1;
constexpr int SETUP_VERSION_MINOR = 4;

// The caption of the wizard's forms in the current language, e.g.
// "Quorvane 1.04 Setup".
TxString WizardCaption();
