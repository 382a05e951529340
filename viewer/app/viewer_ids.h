// Command, control, timer and string ids of the viewer window, and its fixed
// texts: menus, toolbars, timers and messages refer to them by number.
#pragma once

namespace repscope::ids {

// Commands of menu 128, the accelerators and the toolbars.
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_PREVIEW = 32860;
constexpr int ID_MAIL = 32794;
constexpr int ID_EXCEL = 32822;
constexpr int ID_CLOSE = 32862;
constexpr int ID_CLOSE_HOME = 32863;
constexpr int ID_EDIT_COPY = 32828;
constexpr int ID_DELETE = 32827;
constexpr int ID_PREVIOUS = 32819;
constexpr int ID_NEXT = 32820;
constexpr int ID_START_PAGE = 32832;
constexpr int ID_LAST_PAGE = 32833;
constexpr int ID_GOTO = 32830;
constexpr int ID_REFRESH = 32779;
constexpr int ID_PAGE_WIDTH = 32858;
constexpr int ID_ZOOM_DEFAULT = 32835;
constexpr int ID_ZOOM_50 = 32836;  // 50% ... 150%: 32836 + (percent - 50) / 5
constexpr int ID_ZOOM_150 = 32856;
constexpr int ID_SEARCH = 32857;
constexpr int ID_HOLD_HEADING = 32859;
constexpr int ID_APP_ABOUT = 32831;

constexpr int zoom_command(int percent) {
  return ID_ZOOM_50 + (percent - 50) / 5;
}

// Controls of the page number band.
constexpr int IDC_PAGE_EDIT = 766;
constexpr int IDC_PAGE_UPDOWN = 765;

// Dialogs and resources.
constexpr int IDR_MAINFRAME = 128;  // menu, accelerators, document string
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_GOTO = 171;

// Timers.
constexpr int ID_TIMER_REFRESH = 6688;
constexpr int ID_TIMER_PRINTER = 6689;
constexpr int ID_TIMER_UNIX = 6690;
constexpr int ID_TIMER_EXCEL = 6691;
constexpr int ID_TIMER_SEARCH = 6692;
constexpr int ID_TIMER_PRINTPREVIEW = 6693;
constexpr int ID_TIMER_SERVER = 6696;
constexpr int ID_TIMER_SETTINGS = 6698;
constexpr int ID_TIMER_FRAME_UNIX = 7789;
constexpr int ID_TIMER_UNIXUPDOWN = 7788;

// Texts.
constexpr const char kCaption[] = "VESTRA Report Viewer Message";
constexpr const char kDocumentString[] = "VESTRA Report Viewer";  // string 128
constexpr const char kConfirmDeleteCaption[] = "Confirm Report Delete";

// Toolbar labels (string table 751 to 768).
constexpr const char IDS_REFRESH[] = "Refresh";  // 751
constexpr const char IDS_FIRST[] = "First";      // 752
constexpr const char IDS_PRINT[] = "Print";      // 755
constexpr const char IDS_PREV[] = "Prev";        // 758
constexpr const char IDS_NEXT[] = "Next";        // 759
constexpr const char IDS_MAIL[] = "Mail";        // 760
constexpr const char IDS_EXCEL[] = "Excel";      // 761
constexpr const char IDS_COPY[] = "Copy";        // 762
constexpr const char IDS_DELETE[] = "Delete";    // 763
constexpr const char IDS_SAVE[] = "Save";        // 764
constexpr const char IDS_LAST[] = "Last";        // 768

}  // namespace repscope::ids
