// The main window: the package row, the printer's data before and after the download, and
// the Download button. The start-up check and the download sequence run inside its message
// handlers; their steps are operations of this window, kept in files of their own under
// package/ and update/.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "app/MessageCatalogue.h"
#include "app/Resource.h"
#include "package/PackageInfo.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/RunEnd.h"
#include "printer/UsbPort.h"

class CProgressDlg;

// One firmware image held by the window: a buffer of its own and its size in bytes.
struct ImageBuffer {
    std::unique_ptr<BYTE[]> data;
    DWORD size = 0;
};

struct RememberedVersion {
    std::string version;
    WORD checksum = 0;
};

class CUpdateDlg : public win::CDialog {
public:
    explicit CUpdateDlg(win::CWnd* parent = nullptr);
    ~CUpdateDlg() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void FillPackageRow();
    // A checksum as the window shows and compares it: four upper-case hexadecimal digits.
    static std::string FormatChecksum(DWORD checksum);
    // Writes the package row texts into the window's package fields.
    void ShowPackageRow();

    // Firmware images.
    BOOL LoadImage(int slot, std::unique_ptr<BYTE[]>& buffer, DWORD& size);
    BOOL LoadPackageImages();
    BOOL SelectPackageImages();
    void FreePackageImages();

    // The start-up check and the download sequence.
    LRESULT OnStartupCheck(WPARAM wParam, LPARAM lParam);
    void OnDownload();

    // Readiness checks.
    BOOL CheckPrinterCount(CUsbPort& port);
    BOOL CheckPrinterState(CUsbPort& port, std::string& printerId, BOOL salesFile,
                           const std::string& modelCode);

    // Version check.
    BOOL CheckVersions(CUsbPort& port, BOOL& upToDate, CProgressDlg* progress, BOOL inDownloadMode);
    BOOL CompareRememberedVersions();

    // Download mode and transfer.
    BOOL EnterDownloadMode(CUsbPort& port);
    BOOL TransferImages(CUsbPort& port, CProgressDlg* progress);
    BOOL SendImage(CUsbPort& port, const BYTE* image, DWORD size, DWORD timeLimit,
                   CProgressDlg* progress, DWORD* transferError);
    BOOL VerifyTransfer(CUsbPort& port, CProgressDlg* progress);
    BOOL FinishDownloadMode(CUsbPort& port, CProgressDlg* progress);

    // Waits that keep the windows working.
    void PumpMessagesFor(DWORD milliseconds, UINT filterMin = 0, UINT filterMax = 0);
    void WaitWithProgress(DWORD milliseconds, CProgressDlg* progress, DWORD slice);
    void WaitInSlices(DWORD milliseconds, CProgressDlg* progress, DWORD slice);
    // Handles the messages waiting now; TRUE when the window has been asked to close.
    BOOL CloseRequested();

    // The fixed pauses of a Download besides the package table's waits: the wait for the
    // printer's version reply, the pause between closing the port and opening it again on
    // entering download mode, and how long a progress window shows its full bar before it
    // closes.
    static constexpr DWORD kReplyWaitMs = 1000;
    static constexpr DWORD kReopenPauseMs = 100;
    static constexpr DWORD kFullBarShownMs = 500;

    // The state that the window's operations share. Row texts are per DataSlot.
    win::HICON m_hIcon;
    std::array<std::string, 4> m_strBeforeVersion;
    std::array<std::string, 4> m_strBeforeChecksum;
    std::array<std::string, 4> m_strAfterVersion;
    std::array<std::string, 4> m_strAfterChecksum;
    std::array<std::array<char, 7>, 4> m_szPackageVersion{};
    std::array<std::array<char, 5>, 4> m_szPackageChecksum{};
    std::array<RememberedVersion, 4> m_rememberedVersions;
    std::string m_strPrinterId;
    int PackageSet = 0;
    std::array<BOOL, 4> m_bSet1Item{};
    std::array<BOOL, 4> m_bSet2Item{};
    BOOL m_bForceDownload = FALSE;
    BOOL m_bSalesFile = FALSE;
    CPackageInfo m_package;

    std::array<ImageBuffer, 4> m_set1Images;
    std::array<ImageBuffer, 4> m_set2Images;
    std::array<ImageBuffer, 4> m_transferImages;
    DWORD m_dwSet1Total = 0;
    DWORD m_dwSet2Total = 0;
    DWORD m_dwSelectedTotal = 0;

    BOOL m_bDownloadMode = FALSE;
    int m_bReportExitFailure = 0;
    // What the end of the current run reports: download mode entered, a restart that reached
    // the printer, and versions that read as no text.
    BOOL m_bEnteredDownloadMode = FALSE;
    BOOL m_bRestarted = FALSE;
    BOOL m_bVersionsNotText = FALSE;

protected:
    BOOL OnInitDialog() override;
    // Fills the package table; the built-in package unless a derived window brings another.
    virtual BOOL LoadPackageTable() { return m_package.Load(); }
    void DoDataExchange(win::CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    void OnShowWindow(BOOL show, UINT status);

    // The suffix of a step's error text: restart while no package set is selected, else
    // download again.
    CMessageCatalogue::Suffix ErrorSuffix() const;
    void ClearRows(bool before, bool after);
    const std::array<BOOL, 4>& CarriedSlots() const;
    // Opens a progress window of the update's pattern: range 0..100 at 0, the message line if
    // one is given, and time-based progress over duration from now.
    static std::unique_ptr<CProgressDlg> OpenProgressWindow(UINT captionId, DWORD duration,
                                                            UINT statusId = 0);
    // Sets the bar to 100, lets it show for half a second and closes the window.
    void CloseProgressWindow(std::unique_ptr<CProgressDlg>& progress);
    void EnableDownloadButton();
    // Starts a run, unless one is running: the start-up check and each Download begin with
    // none of an earlier run's state. False while a run is running.
    bool BeginRun();

    // The start-up check's steps: TRUE when the printer is ready for a Download, with whether
    // it already holds the package.
    BOOL RunStartupSteps(CUsbPort& port, BOOL& upToDate);
    // The download sequence's steps, and its two ends. A failure is one of a step (which has
    // shown why), a stop on request before download mode, or the remembered printer that
    // already holds the package.
    enum class StepsEnd { Success, Failed, Stopped, AlreadyHeld };
    StepsEnd RunDownloadSteps(CUsbPort& port, BOOL& upToDate,
                              std::unique_ptr<CProgressDlg>& progress);
    void TakeSuccessEnd(CUsbPort& port, std::unique_ptr<CProgressDlg>& progress, BOOL upToDate);
    void TakeFailureEnd(CUsbPort& port, std::unique_ptr<CProgressDlg>& progress, StepsEnd end);
    // Reports how the run ended, once a run.
    void ReportEnd(win::RunEnd::Result result, bool successEnd = false);
    // The end of a run whose step could not get the memory it needed: the printer is restarted
    // if it is in download mode, and the user learns that the download failed.
    void EndForLackOfMemory(CUsbPort& port, std::unique_ptr<CProgressDlg>& progress) noexcept;

    // A start-up check or a download is running; messages dispatched inside its waits must not
    // start another.
    bool m_bRunning = false;
    bool m_endReported = false;
};
