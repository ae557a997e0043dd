#include "sim/BoundedFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace sim {

std::string BoundedFile::Refusal(const std::string& path, bool& exists) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    exists = std::filesystem::exists(status);
    if (!exists) {
        return "";
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "not a regular file";
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return error.message();
    }
    if (size > kLimit) {
        return "larger than " + std::to_string(kLimit) + " bytes";
    }
    return "";
}

bool BoundedFile::Read(const std::string& path, std::string& text, std::string& refusal) {
    bool exists = false;
    refusal = Refusal(path, exists);
    if (!refusal.empty()) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!exists || !in) {
        refusal = "cannot read the file";
        return false;
    }
    // Bounded even if the file grows after the look at its size.
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (text.size() > kLimit) {
        refusal = "larger than " + std::to_string(kLimit) + " bytes";
        return false;
    }
    return true;
}

}  // namespace sim
