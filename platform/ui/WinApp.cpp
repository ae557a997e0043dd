#include "platform/ui/WinApp.h"

#include "platform/Kernel.h"
#include "platform/ui/UiBackend.h"

namespace win {

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(LPCSTR /*appName*/) {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}
int CWinApp::ExitInstance() {
    return 0;
}

CWinApp* AfxGetApp() {
    return g_app;
}
CWnd* AfxGetMainWnd() {
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

int AfxWinMain(int argc, char** argv, UiBackend& backend) {
    SetCommandLine(argc, argv);
    SetUiBackend(&backend);
    int result = 0;
    if (g_app != nullptr && g_app->InitInstance() == FALSE) {
        result = g_app->ExitInstance();
    }
    if (g_app != nullptr) {
        g_app->m_pMainWnd = nullptr;
    }
    SetUiBackend(nullptr);
    return result;
}

void AfxEnableControlContainer() {}
BOOL Enable3dControlsStatic() {
    return TRUE;
}

}  // namespace win
