// Why a simulator configuration was refused: the line, the field and what is wrong with it.
#pragma once

#include <cstdint>
#include <string>

namespace sim {

struct ConfigError {
    uint32_t line = 0;
    std::string field;
    std::string message;

    // "line 7, field \"error-code\": ..."
    std::string Describe() const {
        return "line " + std::to_string(line) + ", field \"" + field + "\": " + message;
    }
};

}  // namespace sim
