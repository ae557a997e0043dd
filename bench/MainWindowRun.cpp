#include "bench/MainWindowRun.h"

#include <sstream>

#include "app/MessageCatalogue.h"
#include "app/UpdateApp.h"
#include "app/UpdateDlg.h"
#include "platform/Kernel.h"
#include "platform/ui/UiBackend.h"

MainWindowRun::MainWindowRun(ClockKind clock, const std::string& config)
    : m_model(clock == ClockKind::Virtual ? &m_clock : nullptr), m_library(m_clock) {
    win::SetClock(clock == ClockKind::Virtual ? &m_clock : nullptr);
    win::SetUiBackend(&m_model);
    m_ready = m_library.Loaded() && m_library.Reset(config);
}

MainWindowRun::~MainWindowRun() {
    theApp.m_pMainWnd = nullptr;
    win::SetUiBackend(nullptr);
    win::SetClock(nullptr);
}

void MainWindowRun::Run(bool pressDownload, DWORD duringDelay, std::function<void()> during) {
    if (pressDownload) {
        m_pressTick = win::GetTickCount() + kPressAfterStart;
        m_model.ClickButton(m_pressTick, IDC_DOWNLOAD);
        if (during) {
            m_model.Probe(m_pressTick + duringDelay, std::move(during));
        }
    }
    CUpdateDlg dialog;
    theApp.m_pMainWnd = &dialog;
    dialog.DoModal();
    theApp.m_pMainWnd = nullptr;
}

bool MainWindowRun::Succeeded() const {
    const auto& boxes = Boxes();
    return boxes.size() == 1 && boxes[0].caption == kCaptionSuccess &&
           boxes[0].text == CMessageCatalogue::Load(IDS_SUCCESS);
}

uint64_t MainWindowRun::ImageBytesReceived() {
    // Lines such as "data t: 6291520 bytes in 1537 transfers, complete".
    std::istringstream log(m_library.ReceivedLog());
    uint64_t total = 0;
    for (std::string line; std::getline(log, line);) {
        if (line.rfind("data ", 0) != 0) {
            continue;
        }
        std::istringstream fields(line.substr(line.find(':') + 1));
        uint64_t bytes = 0;
        if (fields >> bytes) {
            total += bytes;
        }
    }
    return total;
}
