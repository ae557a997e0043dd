#include "platform/testing/TemporaryDirectory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace testing_support {

TemporaryDirectory::TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rxt9-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_path = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
    if (!m_previousDirectory.empty()) {
        std::filesystem::current_path(m_previousDirectory);
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TemporaryDirectory::WriteFile(const std::string& name, const std::string& contents) const {
    std::ofstream(File(name), std::ios::binary) << contents;
}

void TemporaryDirectory::Enter() {
    if (m_previousDirectory.empty()) {
        m_previousDirectory = std::filesystem::current_path().string();
    }
    std::filesystem::current_path(m_path);
}

}  // namespace testing_support
