#include "tests/support/ScopedEnvironment.h"

#include <cstdlib>

namespace testing_support {

ScopedEnvironment::~ScopedEnvironment() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->second) {
            setenv(it->first.c_str(), it->second->c_str(), 1);
        } else {
            unsetenv(it->first.c_str());
        }
    }
}

void ScopedEnvironment::Remember(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    m_saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
}

void ScopedEnvironment::Set(const std::string& name, const std::string& value) {
    Remember(name);
    setenv(name.c_str(), value.c_str(), 1);
}

void ScopedEnvironment::Unset(const std::string& name) {
    Remember(name);
    unsetenv(name.c_str());
}

}  // namespace testing_support
