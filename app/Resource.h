// Resource ids of the program: dialogs, controls, the icon, the system menu command and the
// private window message.
#pragma once

#include "platform/ui/Messages.h"

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDD_UPDATE_DIALOG = 102;
constexpr unsigned IDD_PROGRESS_DIALOG = 103;
constexpr unsigned IDR_MAINFRAME = 128;

constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr unsigned IDS_ABOUTBOX = 101;
constexpr unsigned WM_STARTUP_CHECK = win::WM_APP + 100;

// Main window: the Download button and the value fields of the three rows, per DataSlot.
constexpr int IDC_DOWNLOAD = 1000;
constexpr int IDC_PACKAGE_VERSION[4] = {1005, 1006, 1007, 1020};
constexpr int IDC_PACKAGE_CHECKSUM[4] = {1003, 1008, 1011, 1021};
constexpr int IDC_BEFORE_VERSION[4] = {1014, 1016, 1018, 1022};
constexpr int IDC_BEFORE_CHECKSUM[4] = {1015, 1017, 1019, 1023};
constexpr int IDC_AFTER_VERSION[4] = {1004, 1010, 1012, 1024};
constexpr int IDC_AFTER_CHECKSUM[4] = {1002, 1009, 1013, 1025};

// Progress window.
constexpr int IDC_PROGRESS_BAR = 1003;
constexpr int IDC_PROGRESS_PERCENT = 1004;
constexpr int IDC_PROGRESS_MESSAGE = 1005;
