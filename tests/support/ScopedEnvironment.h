// Sets environment variables for the life of the object and restores them afterwards.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const std::string& name, const std::string& value);
    void Unset(const std::string& name);

private:
    void Remember(const std::string& name);

    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace testing_support
