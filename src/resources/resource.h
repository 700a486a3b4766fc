// Identifiers shared by the resource script, the program and its test drivers.
#pragma once

// Icons, bitmaps, menus, accelerators
#define IDI_TOVIK              1
#define IDR_MAINMENU           100
#define IDR_ACCELERATORS       101
#define IDB_TOOLBAR            102    // ImageList1: nine 16x16 images side by side
#define IDB_TOOLBAR24          104    // the same nine at 24x24 (144 dpi)
#define IDB_TOOLBAR32          105    // and at 32x32 (192 dpi and more)
#define IDC_ARROW_PICTURE      103    // imgArrow: 32x32 pointer picture, hot spot (2, 4)

// Menu commands (the menu item names they belong to)
#define ID_mnuOpen             1001
#define ID_mnuSaveAs           1002
#define ID_mnuPrintSetup       1003
#define ID_mnuPrint            1004
#define ID_mnuPbrush           1005
#define ID_mnuExit             1006
#define ID_mnuRectangle        1101
#define ID_mnuWindow           1102
#define ID_mnuDesktop          1103
#define ID_mnuDelayActive      1104
#define ID_mnuDelayDesktop     1105
#define ID_mnuClear            1106
#define ID_mnuOptionMouseCapt  1201
#define ID_mnuOptionSetup      1202
#define ID_mnuContents         1301
#define ID_mnuAbout            1302
// Recent files: element n of mnuFileArray has the id ID_mnuFileArray + n; the
// indices reach 32767, so the range ends at 0xFFFF and meets no other id.
#define ID_mnuFileArray        0x8000

// Toolbar buttons: ID_Toolbar1 + index (1-based, separators included).
#define ID_Toolbar1            2000

// Child window ids of frmMain
#define IDC_Toolbar1           3001
#define IDC_Picture1           3002
#define IDC_Picture2           3003

// String table
#define IDS_TIP_OPEN           4001
#define IDS_TIP_SAVE           4002
#define IDS_TIP_PRINT          4003
#define IDS_TIP_RECT           4004
#define IDS_TIP_WINDOW         4005
#define IDS_TIP_DESKTOP        4006
#define IDS_TIP_DELAY          4007
#define IDS_TIP_PBRUSH         4008
#define IDS_TIP_MOUSE          4009
#define IDS_PRINT_DOCUMENT     4102   // the name of a print job in the printer's queue
#define IDS_TRAY_TIP           4130   // the tooltip of the icon in the notification area
#define IDS_MAIN_CAPTION       4131   // frmMain's title bar
#define IDS_SIZE_CAPTION       4132   // frmSize's text: the selection's width and height
// The open and save dialogs of the main window.
#define IDS_OPEN_TITLE         4140
#define IDS_OPEN_FILTER        4141
#define IDS_SAVE_TITLE         4142
#define IDS_SAVE_FILTER        4143

// Failure messages. The titles:
#define IDS_ERROR_TITLE        4090   // "Error": every failure but the converter's
#define IDS_CONVERTER_ERROR_TITLE 4091   // "ｴﾗｰ": the JPEG converter's
// The program's own failures carry the id of their text (platform::OwnFailure).
#define IDS_CLIPBOARD_FAILED   4100   // a capture whose picture or clipboard copy has no memory
#define IDS_EDITOR_FAILED      4101   // the editor could not be started; after the editor's name
// The converter's messages, from IDS_CONVERTER_FAILED to IDS_CONVERTER_MESSAGES_LAST, all under
// IDS_CONVERTER_ERROR_TITLE. A JPEG save whose converter ended with exit code n (1 to 4): IDS_CONVERTER_FAILED + n.
#define IDS_CONVERTER_FAILED   4410
#define IDS_CONVERTER_FAILED_1 4411   // bad command line
#define IDS_CONVERTER_FAILED_2 4412   // the bitmap cannot be read
#define IDS_CONVERTER_FAILED_3 4413   // the destination cannot be written
#define IDS_CONVERTER_FAILED_4 4414   // out of memory
// A converter the shell could not start, by the shell's code n (0 to 32): IDS_CONVERTER_NOT_STARTED + n;
// the code alone is the unexpected error, which also reads for a code without a text.
#define IDS_CONVERTER_NOT_STARTED 4440
#define IDS_CONVERTER_MESSAGES_LAST 4472

// Version: TOVIK_FILEVERSION, TOVIK_VERSION_TEXT, TOVIK_VERSION_DOTTED
#include "Version.h"

// Window class names, one per top-level window (test drivers find them by these)
#define TOVIK_CLASS_MAIN       L"Tovik.frmMain"
#define TOVIK_CLASS_DESKTOP    L"Tovik.frmDesktop"
#define TOVIK_CLASS_SIZE       L"Tovik.frmSize"
#define TOVIK_CLASS_DELAY      L"Tovik.Delay"

// The setup dialog frmSetup and the about box frmAbout. Every control has an
// id of its own (none is -1), so each can be placed and read by it.
#define IDD_frmSetup           200
#define IDD_frmAbout           201
#define IDC_Setup_Frame1       5101
#define IDC_Setup_Label1       5102
#define IDC_txtEditName        5103
#define IDC_cmdRef             5104
#define IDC_Setup_Frame2       5105
#define IDC_Setup_Label2       5106
#define IDC_txtDelayTime       5107
#define IDC_Setup_Label3       5108
#define IDC_chkClip            5109
// Frame3: the capture commands' hotkeys, one row each (a label and a hotkey
// control), in the order of settings::HotkeyCommand.
#define IDC_Setup_Frame3       5120
#define IDC_Setup_Label4       5121   // the rows' labels: IDC_Setup_Label4 + row
#define IDC_Setup_Label5       5122
#define IDC_Setup_Label6       5123
#define IDC_Setup_Label7       5124
#define IDC_Setup_Label8       5125
#define IDC_hkyRectangle       5126   // the rows' hotkey controls: IDC_hkyRectangle + row
#define IDC_hkyWindow          5127
#define IDC_hkyDesktop         5128
#define IDC_hkyDelayActive     5129
#define IDC_hkyDelayDesktop    5130
#define IDC_chkStartAtLogon    5131
#define IDC_chkTray            5132
#define IDC_About_Label1       5201
#define IDC_lblVersion         5202
#define IDC_About_Label3       5203
#define IDC_About_Label4       5204
#define IDC_About_Label5       5205
#define IDC_About_Label2       5206
// Both dialogs' OK and Cancel buttons (cmdOk, cmdCancel) are IDOK and IDCANCEL.
#define IDS_SETUP_BAD_DELAY    4200
#define IDS_BROWSE_TITLE       4201
#define IDS_BROWSE_FILTER      4202
#define IDS_BROWSE_FILE_NAME   4203
#define IDS_ABOUT_VERSION      4210
#define IDS_ABOUT_CONVERTER    4211
#define IDS_ABOUT_JAPANESE_FACE 4212  // the about box's fonts: its Japanese lines
#define IDS_ABOUT_LATIN_FACE   4213   // and its Latin ones
#define IDS_SETUP_BAD_HOTKEY   4220   // a hotkey Tovik cannot have; %ls: the command
#define IDS_SETUP_SAME_HOTKEY  4221   // one key for two commands; %ls, %ls: the commands

// The capture commands as the hotkey messages name them: IDS_HOTKEY_NAME + settings::HotkeyCommand.
#define IDS_HOTKEY_NAME        4300
#define IDS_HOTKEY_NAME_1      4301
#define IDS_HOTKEY_NAME_2      4302
#define IDS_HOTKEY_NAME_3      4303
#define IDS_HOTKEY_NAME_4      4304
#define IDS_HOTKEYS_HELD       4310   // keys another program holds: the message's first line
#define IDS_HOTKEYS_HELD_AFTER 4311   // and its last
#define IDS_HOTKEYS_TITLE      4312
