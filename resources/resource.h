// Resource and control identifiers, shared by the .rc file and the code.
// Plain #defines: the resource compiler reads nothing else.
#pragma once

#define IDI_FILE_ICON 1
#define IDI_ABOUT_ICON 100
#define IDI_UNMOUNTED 101
#define IDI_MOUNTED 102

#define IDS_WEB_PAGE 101
#define IDS_EMAIL 102

#define IDM_TRAY 200
#define IDM_TRAY_SEVERAL 201
#define IDM_ENABLED 1001
#define IDM_SET 1002
#define IDM_ABOUT 1003
#define IDM_HELP 1004
#define IDM_EXIT 1005
#define IDM_ADD_DRIVE 1006
#define IDM_REMOVE_DRIVE 1007
// With several drives, a range each: the drive's place in the menu is added.
#define IDM_DRIVE_TOGGLE 1100
#define IDM_DRIVE_SETTINGS 1200
#define IDM_DRIVE_REMOVE 1300

#define IDD_SETTINGS 300
#define IDC_DRIVE1 301
#define IDC_LABEL1 302
#define IDC_DRIVE_LETTER 303
#define IDC_DIR1 304
#define IDC_MOUNT_AT_START 305
#define IDC_START_AT_SIGN_IN 306

#define IDD_ABOUT 400
#define IDC_ABOUT_EMAIL 401
#define IDC_ABOUT_HOMEPAGE 402
#define IDC_ABOUT_OK 403
#define IDC_ABOUT_TITLE 404
#define IDC_ABOUT_VERSION 405
#define IDC_ABOUT_COPYRIGHT 406
#define IDC_ABOUT_STATEMENT 407
#define IDC_HAND_CURSOR 410
#define IDR_LOGO 411

#define IDR_MANIFEST 1
