#pragma once

// Shows the engine's message boxes. The forms show real boxes; tests answer
// them without any window.
class IMessageView
{
public:
    virtual ~IMessageView() = default;
    // Shows a message box (MessageBox flags) and returns the button pressed.
    virtual int ShowMessage(const char* pszText, const char* pszCaption, unsigned uFlags) = 0;
};
