#pragma once

// Names the setup writes and the product's programs read; they must stay as
// they are, byte for byte.
constexpr char PRODUCT_KEY[] = "Software\\Kestov\\Quorvane";
constexpr char LANGUAGE_KEY[] = "Software\\Kestov\\Quorvane\\Language";
constexpr char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char AUTORUN_VALUE[] = "QuorvaneAgent";
constexpr char UNINSTALL_ROOT[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char UNINSTALL_ENTRY[] = "Quorvane";
constexpr char AGENT_CLOSE_EVENT[] = "QvAgentExternalClose";
constexpr char INSTALL_LOG_NAME[] = "Install.log";
