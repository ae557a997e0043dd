// Resource ids of the program: dialogs, controls, the icon, the firmware images, the system
// menu command and the private window message.
#pragma once

#include "platform/ui/Messages.h"

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDD_UPDATE_DIALOG = 102;
constexpr unsigned IDD_PROGRESS_DIALOG = 103;
constexpr unsigned IDR_MAINFRAME = 128;

// Firmware images, resources of the type "BINARY". DATA3(F) has none: its id is never present.
constexpr WORD IDR_DATA1M = 130;
constexpr WORD IDR_DATA2T = 137;
constexpr WORD IDR_DATA4M = 131;
constexpr WORD IDR_NO_IMAGE = 65535;

constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr unsigned IDS_ABOUTBOX = 101;
constexpr unsigned WM_STARTUP_CHECK = win::WM_APP + 100;

// Main window: the Download button and the value fields of the three rows, by item.
constexpr int IDC_DOWNLOAD = 1000;
constexpr int IDC_DATA1_PACKAGE_VERSION = 1005;
constexpr int IDC_DATA1_PACKAGE_CHECKSUM = 1003;
constexpr int IDC_DATA1_BEFORE_VERSION = 1014;
constexpr int IDC_DATA1_BEFORE_CHECKSUM = 1015;
constexpr int IDC_DATA1_AFTER_VERSION = 1004;
constexpr int IDC_DATA1_AFTER_CHECKSUM = 1002;
constexpr int IDC_DATA2_PACKAGE_VERSION = 1006;
constexpr int IDC_DATA2_PACKAGE_CHECKSUM = 1008;
constexpr int IDC_DATA2_BEFORE_VERSION = 1016;
constexpr int IDC_DATA2_BEFORE_CHECKSUM = 1017;
constexpr int IDC_DATA2_AFTER_VERSION = 1010;
constexpr int IDC_DATA2_AFTER_CHECKSUM = 1009;
constexpr int IDC_DATA3_PACKAGE_VERSION = 1007;
constexpr int IDC_DATA3_PACKAGE_CHECKSUM = 1011;
constexpr int IDC_DATA3_BEFORE_VERSION = 1018;
constexpr int IDC_DATA3_BEFORE_CHECKSUM = 1019;
constexpr int IDC_DATA3_AFTER_VERSION = 1012;
constexpr int IDC_DATA3_AFTER_CHECKSUM = 1013;
constexpr int IDC_DATA4_PACKAGE_VERSION = 1020;
constexpr int IDC_DATA4_PACKAGE_CHECKSUM = 1021;
constexpr int IDC_DATA4_BEFORE_VERSION = 1022;
constexpr int IDC_DATA4_BEFORE_CHECKSUM = 1023;
constexpr int IDC_DATA4_AFTER_VERSION = 1024;
constexpr int IDC_DATA4_AFTER_CHECKSUM = 1025;

// Progress window.
constexpr int IDC_PROGRESS_BAR = 1003;
constexpr int IDC_PROGRESS_PERCENT = 1004;
constexpr int IDC_PROGRESS_MESSAGE = 1005;
