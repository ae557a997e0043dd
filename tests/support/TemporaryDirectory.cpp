#include "tests/support/TemporaryDirectory.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace testing_support {

TemporaryDirectory::TemporaryDirectory() {
    // create_directory makes nothing of a name that exists, so the first name it makes is ours.
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const std::filesystem::path candidate = base / ("rxt9-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            // Only its owner reaches it, as a runtime directory must be.
            std::filesystem::permissions(candidate, std::filesystem::perms::owner_all, error);
            m_path = candidate.string();
        } else if (error) {
            break;
        }
    }
    if (m_path.empty()) {
        throw std::runtime_error("cannot create a temporary directory");
    }
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
