// Writes the parts of the Windows program's resource script that come from the system's own
// tables, so that the real resources hold exactly what the other platforms register: the
// string tables of both languages (rxt9-strings.rc) and the program icon (rxt9-update.ico).
// Runs on the build machine.
#include <array>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/Resources.h"
#include "platform/ui/User.h"

namespace {

constexpr int kIconSide = 32;
constexpr WORD kIconId = 128;

struct Language {
    const char* type;
    const char* statement;
};
constexpr std::array<Language, 2> kLanguages{{
    {"STRING1033", "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US"},
    {"STRING1041", "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT"},
}};

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '"') {
            quoted += "\"\"";
        } else if (c == '\\') {
            quoted += "\\\\";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

bool WriteStrings(const char* path) {
    std::ofstream out(path, std::ios::binary);
    for (const Language& language : kLanguages) {
        out << language.statement << "\nSTRINGTABLE\nBEGIN\n";
        for (unsigned id = 0; id <= 0xFFFF; ++id) {
            win::HRSRC text = win::FindResourceA(nullptr, static_cast<WORD>(id), language.type);
            if (text != nullptr) {
                const auto* bytes =
                    static_cast<const char*>(win::LockResource(win::LoadResource(nullptr, text)));
                out << "    " << id << ", "
                    << Quoted(std::string(bytes, win::SizeofResource(nullptr, text))) << '\n';
            }
        }
        out << "END\n\n";
    }
    return static_cast<bool>(out);
}

// The pixel letters of the icon resource as BGRA.
bool PixelColour(char pixel, std::array<uint8_t, 4>& bgra) {
    switch (pixel) {
        case '.':
            bgra = {0, 0, 0, 0};
            return true;
        case 'k':
            bgra = {0, 0, 0, 255};
            return true;
        case 'g':
            bgra = {192, 192, 192, 255};
            return true;
        case 'w':
            bgra = {255, 255, 255, 255};
            return true;
        case 'b':
            bgra = {255, 0, 0, 255};
            return true;
        case 'r':
            bgra = {0, 0, 255, 255};
            return true;
        default:
            return false;
    }
}

void Little(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// One 32 x 32 image of 32 bits a pixel: the header, the bitmap header, the rows from the
// bottom up and an all-zero mask (the alpha channel decides).
bool WriteIcon(const char* path) {
    win::HICON icon = win::LoadIcon(kIconId);
    constexpr uint32_t kPixels = kIconSide * kIconSide;
    if (icon == nullptr || icon->size < kPixels) {
        return false;
    }
    const auto* letters = static_cast<const char*>(icon->data);
    constexpr uint32_t kMaskBytes = kIconSide * 4;
    constexpr uint32_t kImageBytes = 40 + kPixels * 4 + kMaskBytes;
    std::ofstream out(path, std::ios::binary);
    Little(out, 0, 2);
    Little(out, 1, 2);
    Little(out, 1, 2);
    out.put(static_cast<char>(kIconSide));
    out.put(static_cast<char>(kIconSide));
    Little(out, 0, 2);
    Little(out, 1, 2);
    Little(out, 32, 2);
    Little(out, kImageBytes, 4);
    Little(out, 6 + 16, 4);
    Little(out, 40, 4);
    Little(out, kIconSide, 4);
    Little(out, kIconSide * 2, 4);
    Little(out, 1, 2);
    Little(out, 32, 2);
    for (int field = 0; field < 6; ++field) {
        Little(out, 0, 4);
    }
    for (int y = kIconSide - 1; y >= 0; --y) {
        for (int x = 0; x < kIconSide; ++x) {
            std::array<uint8_t, 4> bgra{};
            if (!PixelColour(letters[y * kIconSide + x], bgra)) {
                return false;
            }
            out.write(reinterpret_cast<const char*>(bgra.data()), 4);
        }
    }
    for (uint32_t i = 0; i < kMaskBytes; ++i) {
        out.put('\0');
    }
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " STRINGS.rc ICON.ico\n";
        return 2;
    }
    if (!WriteStrings(argv[1])) {
        std::cerr << argv[0] << ": cannot write " << argv[1] << '\n';
        return 1;
    }
    if (!WriteIcon(argv[2])) {
        std::cerr << argv[0] << ": cannot write the icon to " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
