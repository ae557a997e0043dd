// The About box: the program icon, its name and version, and a short notice.
#pragma once

#include "app/Resource.h"
#include "platform/ui/Dialog.h"

class CAboutDlg : public win::CDialog {
public:
    CAboutDlg() : win::CDialog(IDD_ABOUTBOX) {}
};
