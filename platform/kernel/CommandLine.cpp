// The program's command line as the C runtime hands it over, on every platform.
#include <string>
#include <vector>

#include "platform/Kernel.h"

namespace win {

namespace {

std::vector<std::string> g_args;

}  // namespace

void SetCommandLine(int argc, char** argv) {
    g_args.clear();
    for (int i = 0; i < argc; ++i) {
        g_args.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
}

int GetArgCount() {
    return static_cast<int>(g_args.size());
}

const char* GetArg(int index) {
    if (index < 0 || index >= GetArgCount()) {
        return nullptr;
    }
    return g_args[static_cast<size_t>(index)].c_str();
}

}  // namespace win
