#pragma once

class IMessageView;
class IUnattendedProgress;

// What the program's entry needs of the windows: the wizard, the /SILENT
// progress window and real message boxes. Setup.exe's entry implements it.
class ISetupFrontEnd
{
public:
    virtual ~ISetupFrontEnd() = default;
    // Runs the wizard to its end; its exit code (0, 1602 or 1603).
    virtual int RunWizard() = 0;
    // The progress window of /SILENT; null when it cannot be made.
    virtual IUnattendedProgress* ProgressWindow() = 0;
    virtual IMessageView& Boxes() = 0;
};

// The whole run of Setup.exe from its arguments (the command line after the
// program's name). Without switches: one setup at a time, then the wizard,
// as ever. With switches, in this order: a bad switch ends the run with 87,
// /? shows the list of switches, another setup running ends it with 1618,
// a /LOG file that cannot be opened with 1603; then the wizard or, with
// /SILENT or /VERYSILENT, the installation without it. Every message is
// also logged; with /SUPPRESSMSGBOXES none is shown. Returns the exit code.
int RunSetupProcess(const char* pszArguments, ISetupFrontEnd& frontEnd);
