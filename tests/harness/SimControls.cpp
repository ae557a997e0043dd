#include "tests/harness/SimControls.h"

namespace {

template <typename Entry>
void Lookup(win::HMODULE module, const char* name, Entry& entry) {
    entry = reinterpret_cast<Entry>(win::GetProcAddress(module, name));
}

}  // namespace

bool SimControls::Bind(win::HMODULE module) {
    *this = SimControls{};
    if (module == nullptr) {
        return false;
    }
    Lookup(module, "ZelportSimSetTimeSink", setTimeSink);
    Lookup(module, "ZelportSimReset", reset);
    Lookup(module, "ZelportSimSettle", settle);
    Lookup(module, "ZelportSimReceivedLog", receivedLog);
    Lookup(module, "ZelportSimFirmware", firmware);
    Lookup(module, "ZelportSimInDownloadMode", inDownloadMode);
    Lookup(module, "ZelportSimIsAttached", isAttached);
    Lookup(module, "ZelportSimOpenHandles", openHandles);
    PFN_ZelportSimLimits limitsOf = nullptr;
    Lookup(module, "ZelportSimLimits", limitsOf);
    if (limitsOf != nullptr) {
        limits = limitsOf();
    }
    return setTimeSink != nullptr && reset != nullptr && settle != nullptr &&
           receivedLog != nullptr && firmware != nullptr && inDownloadMode != nullptr &&
           isAttached != nullptr && openHandles != nullptr;
}
