#include "cli/TextPresenter.h"

#include <algorithm>

#include "app/DataSlotFacts.h"

namespace cli {

namespace {

constexpr size_t kItemWidth = 10;
constexpr size_t kVersionWidth = 9;
constexpr size_t kChecksumWidth = 7;
constexpr size_t kBarWidth = 20;

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    return text;
}

std::string CellText(const std::string& value) {
    return value.empty() ? "-" : TextPresenter::Printable(value);
}

std::string TrimmedRight(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : TrimmedRight(text.substr(first));
}

const char* ResultText(ExitReason reason) {
    switch (reason) {
        case ExitReason::Updated:
            return "the printer was updated";
        case ExitReason::UpToDate:
            return "nothing to do, the printer already holds this package";
        case ExitReason::Interrupted:
            return "stopped before download mode, the printer is untouched";
        default:
            return "the download failed";
    }
}

}  // namespace

std::string TextPresenter::Printable(std::string_view text) {
    std::string printable;
    printable.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        printable += c == '\n' || (byte >= 0x20 && byte < 0x7F) ? c : '?';
    }
    return printable;
}

std::string TextPresenter::FormatRows(const MainWindowRows& rows) {
    const size_t groupWidth = kVersionWidth + kChecksumWidth;
    std::string table = Padded("", kItemWidth) + Padded("Package", groupWidth) +
                        Padded("Before", groupWidth) + "After\n";
    std::string subHeading = Padded("", kItemWidth);
    for (int group = 0; group < 3; ++group) {
        subHeading += Padded("Version", kVersionWidth) + Padded("Sum", kChecksumWidth);
    }
    table += TrimmedRight(subHeading) + "\n";
    for (size_t slot = 0; slot < kDataSlotFacts.size(); ++slot) {
        std::string line = Padded(kDataSlotFacts[slot].label, kItemWidth);
        for (const Row* row : {&rows.package, &rows.before, &rows.after}) {
            line += Padded(CellText((*row)[slot].version), kVersionWidth) +
                    Padded(CellText((*row)[slot].checksum), kChecksumWidth);
        }
        table += TrimmedRight(line) + "\n";
    }
    return table;
}

std::string TextPresenter::FormatMessageBox(const MessageBoxView& box) {
    std::string text = "[" + std::string(NameOf(box.icon)) + "] " + Printable(box.caption) + "\n";
    const std::string body = Printable(box.text);
    size_t start = 0;
    while (start <= body.size()) {
        const size_t end = body.find('\n', start);
        const size_t stop = end == std::string::npos ? body.size() : end;
        text += "    " + body.substr(start, stop - start) + "\n";
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return text;
}

std::string TextPresenter::FormatProgress(const ProgressSnapshot& progress, size_t width) {
    const size_t filled =
        static_cast<size_t>(std::max(0, std::min(progress.barPercent, 100))) * kBarWidth / 100;
    std::string percent = Trimmed(Printable(progress.percentText));
    if (percent.empty()) {
        percent = std::to_string(progress.barPercent) + "%";
    }
    std::string message = Printable(progress.message);
    for (char& c : message) {
        if (c == '\n') {
            c = ' ';
        }
    }
    std::string line = Printable(progress.caption) + " [" + std::string(filled, '#') +
                       std::string(kBarWidth - filled, '.') + "] " +
                       std::string(percent.size() < 4 ? 4 - percent.size() : 0, ' ') + percent;
    // Before the message, which a narrow terminal cuts off first.
    if (progress.secondsLeft) {
        line += "  about " + std::to_string(*progress.secondsLeft) + " s left";
    }
    if (!message.empty()) {
        line += "  " + message;
    }
    if (width != 0 && line.size() > width) {
        line.resize(width);
    }
    return line;
}

void TextPresenter::Line(std::string_view text) {
    EndProgressLine();
    m_output.Write(text);
}

void TextPresenter::EndProgressLine() {
    if (m_lineOpen) {
        m_output.Write("\n");
        m_lineOpen = false;
        m_widestLine = 0;
    }
}

void TextPresenter::MainWindowShown(const std::string& caption) {
    Line(Printable(caption) + "\n");
}

void TextPresenter::Rows(const MainWindowRows& rows) {
    Line(FormatRows(rows));
}

void TextPresenter::MessageBox(const MessageBoxView& box) {
    Line(FormatMessageBox(box));
}

void TextPresenter::Progress(const ProgressSnapshot& progress) {
    if (!m_output.OutputIsTerminal()) {
        if (m_steps.IsNewStep(progress)) {
            m_output.WriteProgress(FormatProgress(progress, 0) + "\n");
        }
        return;
    }
    // The last column stays free: writing into it makes some terminals wrap at once.
    const int columns = m_output.Columns();
    const std::string line =
        FormatProgress(progress, columns > 1 ? static_cast<size_t>(columns - 1) : 0);
    if (m_lineOpen && line == m_shownLine) {
        return;
    }
    std::string text = m_lineOpen ? "\r" + line : line;
    if (m_lineOpen && m_widestLine > line.size()) {
        // Blanks rub out the rest of any longer line before, shown or replaced while the
        // terminal could not take it; no escape sequences are needed.
        text += std::string(m_widestLine - line.size(), ' ');
    }
    m_output.WriteProgress(text);
    m_lineOpen = true;
    m_shownLine = line;
    m_widestLine = std::max(m_widestLine, line.size());
}

void TextPresenter::ProgressClosed() {
    EndProgressLine();
    m_steps.Reset();
    m_shownLine.clear();
}

void TextPresenter::Waiting(unsigned limitSeconds) {
    Line("No printer is connected: waiting for one" +
         (limitSeconds != 0 ? " for at most " + std::to_string(limitSeconds) + " s" : "") +
         ". Ctrl-C ends the wait.\n");
}

void TextPresenter::Ready() {
    Line("The start-up check has passed: the printer is ready.\n");
}

void TextPresenter::DownloadStarted() {
    Line("Download started.\n");
}

void TextPresenter::Checked(const win::StartupReport& report, const MainWindowRows& /*rows*/) {
    const std::string printer =
        report.printerId.empty() ? "The printer" : "The printer " + Printable(report.printerId);
    Line(printer + ": package set " + std::to_string(report.packageSet) + " applies; " +
         (report.updateApplies ? "an update applies" : "it already holds this package") + ".\n");
}

void TextPresenter::DownloadEnded(const win::RunEnd& end) {
    Line(std::string("Download ended on its ") + (end.successEnd ? "success" : "failure") +
         " end: " + ResultText(ExitReasonOf(end)) + ".\n");
}

void TextPresenter::Interrupted(bool finishingDownload) {
    Line(finishingDownload ? "Interrupted: the download goes on to its end first, so that the "
                             "printer is not left in download mode.\n"
                           : "Interrupted.\n");
}

void TextPresenter::AskFor(Prompt prompt) {
    EndProgressLine();
    m_output.WriteError(PromptText(prompt));
}

void TextPresenter::Finished(ExitReason reason) {
    if (reason == ExitReason::StartupClosed) {
        Line("The start-up check has closed the tool.\n");
    } else {
        EndProgressLine();
    }
}

}  // namespace cli
