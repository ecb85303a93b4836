#pragma once

// Fault injection for the robustness tests: counts the file layer's create,
// write, copy and folder operations and fails the n-th one, so that every
// failure path of an installation can be reached on a healthy disk. Compiled
// in only with QV_FAULT_INJECTION (the robustness programs' own builds of the
// libraries); in the product every hook is the constant false.

enum TxFaultOp
{
    TXFAULT_CREATE = 0, // TxFile construction
    TXFAULT_WRITE = 1,  // TxFile::Write
    TXFAULT_COPY = 2,   // CopyFileA of the copy engine
    TXFAULT_FOLDER = 3, // CreateDirectoryA of the folder creation
    TXFAULT_MOVE = 4,   // moving a replaced file aside, or making its backup folder
};

#ifdef QV_FAULT_INJECTION
// True when this operation is the armed one; the caller then fails it as the
// system would (ERROR_DISK_FULL is set as the last error).
bool TxFaultHit(TxFaultOp op);
// Fails the n-th counted operation from now on (0: none) and restarts counting.
void TxFaultArm(long nFailAt);
// Operations counted since the last TxFaultArm.
long TxFaultCount();
#define TX_FAULT(op) TxFaultHit(op)
#else
#define TX_FAULT(op) false
#endif
