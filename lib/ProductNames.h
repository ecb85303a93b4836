#pragma once

// Names the setup shares with the product's own programs and with the log
// receiver. Those programs look them up byte for byte, misspellings and
// letter case included: change none of them.

// Registry, all under HKEY_LOCAL_MACHINE.
constexpr char VENDOR_REG_KEY[] = "Software\\Kestov";
constexpr char PRODUCT_REG_KEY[] = "Software\\Kestov\\Quorvane";
constexpr char SETUP_REG_KEY[] = "Software\\Kestov\\Quorvane\\Setup";
constexpr char LANGUAGE_REG_KEY[] = "Software\\Kestov\\Quorvane\\Language";
// Values under SETUP_REG_KEY: where the last installation put its files.
constexpr char INSTALLED_PRG_DIR_VALUE[] = "InstalledPrgDir";
constexpr char INSTALLED_IMG_DIR_VALUE[] = "InstalledImgDir";
// Every image folder an installation of the product has put images into
// (REG_MULTI_SZ), kept when a later installation without images deletes
// "InstalledImgDir": the uninstaller removes the images of all of them.
constexpr char INSTALLED_IMG_DIRS_VALUE[] = "InstalledImgDirs";
// The agent's start with Windows: a value under the Run key.
constexpr char REG_RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char REG_AUTORUN_VALUE[] = "QuorvaneAgent";
// The entry in the system's list of installed programs: root + entry name.
constexpr char REG_UNINSTALL_ROOT[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char UNINSTALL_ENTRY_NAME[] = "Quorvane";

// The folder the product's files and images go to by default.
constexpr char PRODUCT_FOLDER_NAME[] = "Quorvane";

// The manager's file name in the program folder.
constexpr char MANAGER_FILE_NAME[] = "QvManag.exe";

// The named event the running agent waits on; setting it asks it to exit.
constexpr char AGENT_CLOSE_EVENT[] = "QvAgentExternalClose";

// The mutex every setup of the product holds while it runs, so that a
// second one (of any version) can tell; in the Global namespace where the
// system has one.
constexpr char SETUP_MUTEX_NAME[] = "QuorvaneSetupRunning";

// The window the diagnostic log sends its lines to.
constexpr char LOG_RECEIVER_CLASS[] = "TFormKvLog";
constexpr char LOG_RECEIVER_TITLE[] = "Kestov Log Receiver";

// The installation's record in the program folder, read by the uninstaller:
// blocks of records, each a ten-character tag and a path or name, every
// block closed by a time line.
constexpr char INSTALL_LOG_NAME[] = "Install.log";
constexpr int INSTALL_LOG_TAG_LENGTH = 10;
constexpr char LOG_TAG_PRGFILE[] = "S_PRGFILE ";
constexpr char LOG_TAG_IMGFILE[] = "S_IMGFILE ";
constexpr char LOG_TAG_FOLDER[] = "S_FOLDER_ ";
constexpr char LOG_TAG_AUTORUN[] = "S_AUTORUN ";
constexpr char LOG_TAG_LNKFILE[] = "S_LNKFILE ";
constexpr char LOG_TAG_UNINST[] = "S_UNINST_ ";
constexpr char LOG_TAG_TIME[] = "S_TIME___ ";
