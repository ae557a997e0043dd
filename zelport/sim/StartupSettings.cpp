#include "zelport/sim/StartupSettings.h"

#include <cstdlib>
#include <utility>

#include "sim/BoundedFile.h"
#include "sim/StateFile.h"

namespace zelsim {

StartupSettings StartupSettings::FromEnvironment(const char* stateHome, const char* home) {
    StartupSettings settings;
    if (const char* path = std::getenv("RXT9_SIM_CONFIG"); path != nullptr && *path != '\0') {
        settings.origin = std::string("RXT9_SIM_CONFIG ") + path;
        std::string text;
        if (sim::BoundedFile::Read(path, text, settings.refusal)) {
            settings.configText = std::move(text);
        }
    }
    settings.statePath =
        sim::StateFile::ResolvePath(std::getenv("RXT9_SIM_STATE"), std::getenv(stateHome),
                                    home != nullptr ? std::getenv(home) : nullptr);
    settings.tracePath = std::getenv("RXT9_SIM_TRACE");
    return settings;
}

}  // namespace zelsim
