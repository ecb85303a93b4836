#pragma once

// Registry and shortcut reads come from the library's test support.
#include "MachineSnapshot.h"
#include "TestSupport.h"

#include <string>
#include <vector>
#include <windows.h>

// Where an installation of the product leaves its traces in the Wine prefix,
// how to read them back, and how to remove them all again.

constexpr char SETUP_KEY[] = "Software\\Kestov\\Quorvane\\Setup";
constexpr char LANGUAGE_KEY[] = "Software\\Kestov\\Quorvane\\Language";
constexpr char PRODUCT_KEY[] = "Software\\Kestov\\Quorvane";
constexpr char VENDOR_KEY[] = "Software\\Kestov";
constexpr char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char UNINSTALL_KEY[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";
constexpr char SHORTCUT_NAME[] = "Quorvane Manager.lnk";

struct ProductPaths
{
    std::string sProgramDir;
    std::string sImageDir;
    std::string sSystemDir;
    std::string sCommonPrograms;
    std::string sCommonDesktop;
    std::string sPrograms;
    std::string sDesktop;

    // The folders the system names, with the product's default targets.
    static ProductPaths Defaults();
    std::string ScreenSaver() const;
    // The four places a shortcut may be put.
    std::vector<std::string> ShortcutPlaces() const;
};

// Removes every trace an installation into these folders may have left
// (files, folders, shortcuts, registry values and keys); extra folders are
// removed whole too. Ends a manager started from the program folder first.
void RemoveProduct(const ProductPaths& paths, const std::vector<std::string>& extraFolders = {});
// Names of the traces that are present; empty for a clean prefix.
std::vector<std::string> ProductTraces(const ProductPaths& paths);
// What the machine holds where an installation may leave something: the
// files and folders under the program-files, pictures, Start-menu and desktop
// folders, the screen saver in the system folder, and the keys and values
// under the vendor, Run and Uninstall keys.
MachineSnapshot ProductSnapshot(const ProductPaths& paths);

// Paths Windows deletes when it next starts (MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT and no new name), in the order it will, without
// the "\??\" prefix.
std::vector<std::string> PendingDeletions();
// Takes back the pending deletions at or under sFolder, so that a restart of
// the prefix cannot remove a later scenario's files; other pending operations
// stay. False when the list could not be rewritten.
bool CancelPendingDeletions(const std::string& sFolder);
// sPath is sFolder or lies below it (letter case ignored).
bool IsAtOrUnder(const std::string& sPath, const std::string& sFolder);

// "Install.log" cut into its blocks, each a list of record lines without CR LF;
// the time line stays the block's last line.
std::vector<std::vector<std::string>> InstallLogBlocks(const std::string& sBytes);
