#include "tests/support/ScopedEnvironment.h"

#include <cstdlib>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace testing_support {

namespace {

// Both copies of the environment: the C runtime's, which getenv reads, and the process's,
// which GetEnvironmentVariableA reads and child processes inherit.
void Assign(const std::string& name, const char* value) {
    _putenv_s(name.c_str(), value != nullptr ? value : "");
    ::SetEnvironmentVariableA(name.c_str(), value);
}

}  // namespace

ScopedEnvironment::~ScopedEnvironment() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        Assign(it->first, it->second ? it->second->c_str() : nullptr);
    }
}

void ScopedEnvironment::Remember(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    m_saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
}

void ScopedEnvironment::Set(const std::string& name, const std::string& value) {
    Remember(name);
    Assign(name, value.c_str());
}

void ScopedEnvironment::Unset(const std::string& name) {
    Remember(name);
    Assign(name, nullptr);
}

}  // namespace testing_support
