// Window messages, styles and command ids of the dialog framework, with their Windows values.
#pragma once

#include "platform/WinTypes.h"

namespace win {

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_ICONERASEBKGND = 0x0027;
constexpr UINT WM_NEXTDLGCTL = 0x0028;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_APP = 0x8000;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT DM_GETDEFID = 0x0400;  // WM_USER
constexpr UINT PBM_SETRANGE = 0x0401;
constexpr UINT PBM_SETPOS = 0x0402;
constexpr UINT PBM_SETSTEP = 0x0404;
constexpr UINT PBM_GETPOS = 0x0408;
constexpr WORD DC_HASDEFID = 0x534B;

constexpr WORD BN_CLICKED = 0;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = -1;

constexpr UINT SC_SIZE = 0xF000;
constexpr UINT SC_MOVE = 0xF010;
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_RESTORE = 0xF120;

constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_F1 = 0x70;

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;

constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD DS_MODALFRAME = 0x00000080;
constexpr DWORD DS_SETFONT = 0x00000040;

constexpr DWORD SS_LEFT = 0x00000000;
constexpr DWORD SS_CENTER = 0x00000001;
constexpr DWORD SS_ICON = 0x00000003;
constexpr DWORD SS_SUNKEN = 0x00001000;
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;

}  // namespace win
