#pragma once

#include <functional>
#include <windows.h>

// The driver is the setup's log receiver: the setup's SendMessage blocks
// until the driver handles the line, so every wait of the driver pumps.

// Handles every message waiting for the driver's own windows.
void PumpMessages();
// Pumps for dwMilliseconds.
void PumpFor(DWORD dwMilliseconds);
// Pumps until bCondition() holds or dwTimeout ms have passed; the result of
// the last evaluation.
bool WaitUntil(const std::function<bool()>& bCondition, DWORD dwTimeout);

// The default bound of every wait for the setup: generous for a slow machine,
// short enough that a lost dialog fails the test quickly.
constexpr DWORD WAIT_TIMEOUT_MS = 15000;
