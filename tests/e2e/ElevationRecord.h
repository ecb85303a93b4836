#pragma once

#include <windows.h>

// While it lives, the manager and agent stand-ins write down whether their
// token is elevated (media/standins/common/TokenRecord.h): what the setup
// starts must run as the user, not with the setup's administrator rights.
class ElevationRecord
{
public:
    ElevationRecord();
    ~ElevationRecord();
    ElevationRecord(const ElevationRecord&) = delete;
    ElevationRecord& operator=(const ElevationRecord&) = delete;

    // The TokenIsElevated that pszProgram ("QvManag.exe") wrote, once it has
    // (pumping meanwhile); -1 when it wrote nothing within the time.
    int WaitFor(const char* pszProgram, DWORD dwTimeoutMs) const;
};
