#pragma once

class CSetupDatFile;
class IMessageView;

// Opens "Setup.dat" in the setup folder and checks that every file of the
// install plan is stored, filling each entry's description and g_qwPrgSize.
// On failure the user is told through view and false is returned; the
// caller then ends the setup.
bool OpenSetupArchive(CSetupDatFile& archive, IMessageView& view);
