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

template <typename Entry>
Entry Lookup(win::HMODULE module, const char* name) {
    return reinterpret_cast<Entry>(win::GetProcAddress(module, name));
}

}  // namespace

SimulatedLibrary::SimulatedLibrary(win::VirtualClock& clock) {
    g_usbLibrary.Unload();
    win::HMODULE module = LoadedLibrary();
    if (module == nullptr) {
        return;
    }
    g_usbLibrary.Bind(module);
    m_reset = Lookup<PFN_ZelportSimReset>(module, "ZelportSimReset");
    m_settle = Lookup<PFN_ZelportSimSettle>(module, "ZelportSimSettle");
    m_log = Lookup<PFN_ZelportSimReceivedLog>(module, "ZelportSimReceivedLog");
    m_firmware = Lookup<PFN_ZelportSimFirmware>(module, "ZelportSimFirmware");
    m_downloadMode = Lookup<PFN_ZelportSimInDownloadMode>(module, "ZelportSimInDownloadMode");
    m_openHandles = Lookup<PFN_ZelportSimOpenHandles>(module, "ZelportSimOpenHandles");
    m_timeSink = Lookup<PFN_ZelportSimSetTimeSink>(module, "ZelportSimSetTimeSink");
    m_loaded = m_reset != nullptr && m_settle != nullptr && m_log != nullptr &&
               m_firmware != nullptr && m_downloadMode != nullptr && m_openHandles != nullptr &&
               m_timeSink != nullptr;
    if (const auto limits = Lookup<PFN_ZelportSimLimits>(module, "ZelportSimLimits")) {
        m_limits = limits();
    }
    if (m_loaded) {
        g_clock = &clock;
        m_timeSink(&ChargeToClock);
        m_reset(nullptr, nullptr, nullptr);
    }
}

SimulatedLibrary::~SimulatedLibrary() {
    if (m_loaded) {
        m_timeSink(nullptr);
        m_reset("", nullptr, nullptr);  // no printers: nothing keeps running between tests
    }
    g_clock = nullptr;
    g_usbLibrary = CUsbLibrary{};  // the module stays with LoadedLibrary
}

bool SimulatedLibrary::Reset(const std::string& config) {
    return m_reset(config.empty() ? nullptr : config.c_str(), nullptr, nullptr) == 1;
}

void SimulatedLibrary::Settle() {
    m_settle();
}

std::string SimulatedLibrary::ReceivedLog(unsigned printer) {
    m_settle();
    const size_t length = m_log(printer, nullptr, 0);
    std::string log(length + 1, '\0');
    m_log(printer, log.data(), log.size());
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
    m_settle();
    uint8_t version[6] = {};
    uint16_t checksum = 0;
    if (m_firmware(printer, area, version, &checksum) != 1) {
        return {};
    }
    std::ostringstream text;
    text << std::string(reinterpret_cast<const char*>(version), 6) << '/' << std::uppercase
         << std::hex << std::setw(4) << std::setfill('0') << checksum;
    return text.str();
}

int SimulatedLibrary::InDownloadMode(unsigned printer) {
    m_settle();
    return m_downloadMode(printer);
}

unsigned SimulatedLibrary::OpenHandles() {
    m_settle();
    return m_openHandles();
}
