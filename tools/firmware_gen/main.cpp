// firmware_gen NAME OUTPUT: writes the firmware image NAME (DATA1M, DATA2T or DATA4M) to
// OUTPUT. An OUTPUT that already holds the same bytes is left untouched, so that the build
// does not re-assemble the embedded images when nothing in them changed.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>

#include "tools/firmware_gen/ImageGenerator.h"
#include "tools/firmware_gen/ImageLayouts.h"

namespace {

bool FileHolds(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    if (std::filesystem::file_size(path, error) != text.size() || error) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    return std::equal(text.begin(), text.end(), std::istreambuf_iterator<char>(file));
}

// Writes beside the target and renames, so that an interrupted build never leaves a
// truncated image that looks up to date.
bool WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!file.flush()) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    return !error;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: firmware_gen NAME OUTPUT\n";
        return 2;
    }
    const std::string name = argv[1];
    const firmware::ImageLayout* layout = firmware::FindImageLayout(name);
    if (layout == nullptr) {
        std::cerr << "firmware_gen: unknown image " << name << "; known images:";
        for (const auto& known : firmware::ImageLayoutNames()) {
            std::cerr << ' ' << known;
        }
        std::cerr << '\n';
        return 2;
    }
    const std::filesystem::path output = argv[2];
    const std::string text = firmware::GenerateImage(*layout);
    if (!FileHolds(output, text) && !WriteFile(output, text)) {
        std::cerr << "firmware_gen: cannot write " << output.string() << '\n';
        return 1;
    }
    return 0;
}
