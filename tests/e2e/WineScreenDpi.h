#pragma once

#include "TestSupport.h"

#include <windows.h>

// The DPI of the screen, the user's "LogPixels" desktop setting, while this
// object lives; the earlier value comes back afterwards. Wine reads it when
// the prefix's desktop starts, with the first window of the first program
// since the prefix's Wine server started: set it before that.
class WineScreenDpi : public SavedRegValue
{
public:
    explicit WineScreenDpi(DWORD dwDpi)
        : SavedRegValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels",
                        RegValue::Dword(dwDpi))
    {
    }
};

// While it lives, the calling thread reads other programs' windows and the
// screen in the screen's own pixels, whatever DPI the thread's program was
// started with: without it, the system shows a program the windows of one
// made for another DPI scaled to its own.
class ScreenPixelsView
{
public:
    ScreenPixelsView();
    ~ScreenPixelsView();
    ScreenPixelsView(const ScreenPixelsView&) = delete;
    ScreenPixelsView& operator=(const ScreenPixelsView&) = delete;

    // False where the system knows no DPI per thread.
    bool IsActive() const { return m_hOldContext != nullptr; }

private:
    DPI_AWARENESS_CONTEXT m_hOldContext;
};
