#include "zelport/sim/StartupSettings.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sim/StateFile.h"

namespace zelsim {

StartupSettings StartupSettings::FromEnvironment() {
    StartupSettings settings;
    if (const char* path = std::getenv("RXT9_SIM_CONFIG"); path != nullptr && *path != '\0') {
        settings.origin = std::string("RXT9_SIM_CONFIG ") + path;
        std::ifstream in(path, std::ios::binary);
        std::ostringstream contents;
        if (in) {
            contents << in.rdbuf();
        }
        settings.configText = contents.str();
        settings.readable = static_cast<bool>(in);
    }
    settings.statePath = sim::StateFile::ResolvePath(
        std::getenv("RXT9_SIM_STATE"), std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    settings.tracePath = std::getenv("RXT9_SIM_TRACE");
    return settings;
}

}  // namespace zelsim
