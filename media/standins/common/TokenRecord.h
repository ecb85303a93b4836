#pragma once

// For the tests only: whether a stand-in was started with an elevated token.
// A program of the product started by the setup must run as the signed-in
// user, not with the setup's administrator rights; a test cannot read that
// from outside, so it asks the programs to write it down. While the key
// below exists in HKEY_CURRENT_USER, the manager and the agent write their
// token's TokenIsElevated (0 or 1) into it as a REG_DWORD named after their
// file ("QvManag.exe", "QvAgent.exe"). Without the key they write nothing.
constexpr char TOKEN_RECORD_KEY[] = "Software\\Kestov\\Stand-in token record";

// Writes this process's TokenIsElevated under pszProgram when a test asks.
void RecordTokenElevation(const char* pszProgram);
