#include "sim/SimConfig.h"

#include <algorithm>

namespace sim {

SimConfig SimConfig::Default() {
    SimConfig config;
    config.printers.emplace_back();
    return config;
}

bool SimConfig::NeedsWriteControl() const {
    return std::any_of(printers.begin(), printers.end(),
                       [](const PrinterConfig& printer) { return printer.NeedsWriteControl(); });
}

}  // namespace sim
