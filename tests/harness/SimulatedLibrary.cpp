#include "tests/harness/SimulatedLibrary.h"

#include <iomanip>
#include <sstream>

#include "printer/UsbLibrary.h"

namespace {

win::VirtualClock* g_clock = nullptr;

void ChargeToClock(uint32_t milliseconds) {
    if (g_clock != nullptr) {
        g_clock->Advance(milliseconds);
    }
}

// Loaded once for the test process: its write interception, once installed, lasts as long
// as the process, and every test binds the same library again.
win::HMODULE LoadedLibrary() {
    static const win::HMODULE module = win::LoadLibraryA("ZELPORT.dll");
    return module;
}

}  // namespace

SimulatedLibrary::SimulatedLibrary(win::VirtualClock& clock) {
    g_usbLibrary.Unload();
    win::HMODULE module = LoadedLibrary();
    if (module == nullptr) {
        return;
    }
    g_usbLibrary.Bind(module);
    m_loaded = m_controls.Bind(module);
    if (m_loaded) {
        g_clock = &clock;
        m_controls.setTimeSink(&ChargeToClock);
        m_controls.reset(nullptr, nullptr, nullptr);
    }
}

SimulatedLibrary::~SimulatedLibrary() {
    if (m_loaded) {
        m_controls.setTimeSink(nullptr);
        m_controls.reset("", nullptr, nullptr);  // no printers: nothing keeps running between tests
    }
    g_clock = nullptr;
    g_usbLibrary = CUsbLibrary{};  // the module stays with LoadedLibrary
}

bool SimulatedLibrary::Reset(const std::string& config) {
    return m_controls.reset(config.empty() ? nullptr : config.c_str(), nullptr, nullptr) == 1;
}

void SimulatedLibrary::Settle() {
    m_controls.settle();
}

std::string SimulatedLibrary::ReceivedLog(unsigned printer) {
    m_controls.settle();
    const size_t length = m_controls.receivedLog(printer, nullptr, 0);
    std::string log(length + 1, '\0');
    m_controls.receivedLog(printer, log.data(), log.size());
    log.resize(length);
    return log;
}

int SimulatedLibrary::Count(const std::string& linePrefix, unsigned printer) {
    std::istringstream lines(ReceivedLog(printer));
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(linePrefix, 0) == 0) {
            ++count;
        }
    }
    return count;
}

std::string SimulatedLibrary::Firmware(char area, unsigned printer) {
    m_controls.settle();
    uint8_t version[6] = {};
    uint16_t checksum = 0;
    if (m_controls.firmware(printer, area, version, &checksum) != 1) {
        return {};
    }
    std::ostringstream text;
    text << std::string(reinterpret_cast<const char*>(version), 6) << '/' << std::uppercase
         << std::hex << std::setw(4) << std::setfill('0') << checksum;
    return text.str();
}

int SimulatedLibrary::InDownloadMode(unsigned printer) {
    m_controls.settle();
    return m_controls.inDownloadMode(printer);
}

unsigned SimulatedLibrary::OpenHandles() {
    m_controls.settle();
    return m_controls.openHandles();
}
