#pragma once

#include <windows.h>

// The wizard's private messages, all posted with wParam and lParam 0.
// Runs the next step of the step machine; posted to the main form.
constexpr UINT WM_SETUPSTEP = WM_APP + 1;
// Copies the next file; posted to the install step's own window.
constexpr UINT WM_INSTALLSTEP = WM_APP + 2;
// Makes the forms not needed for the welcome step; posted to the main form
// when the welcome dialog is shown.
constexpr UINT WM_CREATEFORMS = WM_APP + 3;
