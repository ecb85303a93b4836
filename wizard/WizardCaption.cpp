#include "WizardCaption.h"

#include "StringTables.h"
#include "TxFormat.h"

TxString WizardCaption()
{
    return TxFormat(gls_QuorvaneSetupDD.GetText(), {SETUP_VERSION_MAJOR, SETUP_VERSION_MINOR});
}
