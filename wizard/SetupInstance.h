#pragma once

#include "TxHandles.h"

// One setup of the product at a time. The setup makes a named mutex at its
// start and keeps it until it ends; a setup that finds it made already
// knows another one runs. The name lies in the Global namespace where the
// system has one, so that setups of other sessions count too.
class CSetupInstanceLock
{
public:
    // pszName without a namespace; tests pass names of their own.
    explicit CSetupInstanceLock(const char* pszName);
    CSetupInstanceLock(const CSetupInstanceLock&) = delete;
    CSetupInstanceLock& operator=(const CSetupInstanceLock&) = delete;

    // Another setup holds the mutex (also when another account's mutex may
    // not even be opened).
    bool OtherSetupRunning() const { return m_bOther; }

private:
    // False when the name could not be used at all (the caller tries another).
    bool Create(const char* pszFullName);

    TxKernelHandle m_hMutex;
    bool m_bOther;
};
