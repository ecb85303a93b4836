#pragma once

#include <functional>
#include <windows.h>

// A test that receives the log of a program it started (or puts windows up
// itself) must keep handling its messages while it waits: the program's
// SendMessage blocks until the test has taken the line.

// Handles every message waiting for the calling thread's windows.
void PumpMessages();
// Pumps for dwMilliseconds.
void PumpFor(DWORD dwMilliseconds);
// Pumps until bCondition() holds or dwTimeout ms have passed; the result of
// the last evaluation.
bool WaitUntil(const std::function<bool()>& bCondition, DWORD dwTimeout);

// The default bound of a wait for another program: generous for a slow
// machine, short enough that a lost window fails the test quickly.
constexpr DWORD WAIT_TIMEOUT_MS = 15000;
