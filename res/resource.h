// Resource identifiers, shared by the resource script and the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_SETTINGS_DIALOG 102
#define IDR_MAINFRAME 128
// The dialogs' font where the system has no "ＭＳ Ｐゴシック", and its family name.
#define IDR_DIALOGFONT 129
#define DIALOGFONT_FACE L"Ume P Gothic"
#define IDS_SAVE_FAILED 200
#define IDS_SAVE_UNCONFIRMED 201
#define IDS_SAVE_LEFT_EMPTY 202

#define IDC_HWTNL_OFF 1000
#define IDC_HWTNL_ON 1001

#define IDM_ABOUTBOX 0x0010

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
