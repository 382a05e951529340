// Command, string and resource ids the programs share: menus, toolbars,
// posted commands and replies refer to them by number.
#pragma once

namespace vestra::ids {

// Commands of the thin client's main menu and terminal window.
constexpr int ID_CONNECT = 32828;
constexpr int ID_DISCONNECT = 32829;
constexpr int ID_RESEQUENCE = 32830;
constexpr int ID_SEND_INTERRUPT = 32831;
constexpr int ID_SEND_BREAK = 32832;
constexpr int ID_CLEAR_SCREEN = 32833;
constexpr int ID_COMMUNICATIONS = 32836;
constexpr int ID_EXIT = 57665;
constexpr int ID_NEW_SESSION = 32866;

// Strings.
constexpr const char* IDS_TERMINAL_MODE = "Terminal Mode";  // string 32827
constexpr const char* IDS_APP_TITLE = "VESTRA";             // string 57344

// Private messages of the main window: n of WM_USER + n.
constexpr int WM_USER_CLIENT_INIT = 1;

}  // namespace vestra::ids
