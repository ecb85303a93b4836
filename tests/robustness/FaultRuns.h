#pragma once

class CBatchStateWriter;

// A clean installation that counts the operations a fault can hit and the
// files copied; reported as operations * 1000 + files.
void ProbeFaultRuns(CBatchStateWriter& writer);

// Run i of a full pass: for i below the operation count, the installation
// with operation i + 1 failing; after that, Stop after file i - operations
// + 1. Each run ends in the rollback; the check fails on anything left
// behind and on a failure that did not reach the user as its message.
bool CheckFaultRun(long iRun, long iOperations);
