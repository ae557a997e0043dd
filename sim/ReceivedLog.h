// What a printer received, one line per command or image, for tests that check the bytes that
// reached the printer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sim {

class ReceivedLog {
public:
    // Appends a line; returns its index, so that a line still in progress can be updated.
    size_t Add(std::string line);
    void Update(size_t index, std::string line);
    // All lines, each ending in '\n'.
    std::string Text() const;
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
};

}  // namespace sim
