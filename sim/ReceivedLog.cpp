#include "sim/ReceivedLog.h"

namespace sim {

size_t ReceivedLog::Add(std::string line) {
    m_lines.push_back(std::move(line));
    return m_lines.size() - 1;
}

void ReceivedLog::Update(size_t index, std::string line) {
    if (index < m_lines.size()) {
        m_lines[index] = std::move(line);
    }
}

std::string ReceivedLog::Text() const {
    std::string text;
    for (const std::string& line : m_lines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace sim
