#pragma once

#include <string>
#include <vector>

class CBatchStateWriter;

// What the fault and full-disk runs share.
// The registry keys an installation changes: the product's, the Run key and
// the uninstall entry.
extern const std::vector<std::string> PRODUCT_KEYS;
// Prints each line for run iRun; true when there are none.
bool ReportRun(long iRun, const char* pszWhat, const std::vector<std::string>& lines);
// Whether differences from a snapshot name something that was not there.
bool HasNewEntry(const std::vector<std::string>& differences);
// Whether a message is one of the engine's failure boxes: "Cannot create
// folder %s" captioned "Error", or "%s -> %s\n%s" captioned "Copy Error".
bool IsEngineFailureBox(const std::string& sMessage);

// A clean installation that counts the operations a fault can hit and the
// files copied; reported as operations * 1000 + files. With bOverEarlier it
// runs over an earlier installation of the sandbox's medium.
void ProbeFaultRuns(CBatchStateWriter& writer, bool bOverEarlier);

// Run i of a full pass: for i below the operation count, the installation
// with operation i + 1 failing; after that, Stop after file i - operations
// + 1. A run that reports success is first compared with the medium (a
// difference is a false success); each run then ends in the rollback, and
// the check fails on anything left behind and on a failure that did not
// reach the user as its message. Returns VARIANT_ flags.
int CheckFaultRun(long iRun, long iOperations);

// The same runs over an earlier installation, each compared after its
// rollback with a snapshot of the machine taken before it: every file of the
// sandbox's target tree (bytes, attributes, times) and every registry key
// and value under the product's keys, the Run key and the uninstall entry.
int CheckOverEarlierRun(long iRun, long iOperations);
