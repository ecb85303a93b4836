// The library's start-up order lives in this one file: within a translation
// unit C++ constructs globals in the order they stand and destroys them in
// reverse. So the error texts exist first, the initializer fills them, and
// the log is created last and destroyed first.
#include "CLog.h"
#include "TxErrorText.h"

TxString g_TxErrorText[TXERR_COUNT];
static TxLibInitializer g_TxLibInitializer;
bool g_bLogEnabled = false;
CLog g_Log;
