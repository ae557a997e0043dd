#include "tests/platform/qt/TestDesktop.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

const std::vector<FontSet>& TestDesktop::FontSets() {
    static const std::vector<FontSet> kSets = {
        {"DejaVu", "/usr/share/fonts/truetype/dejavu", "fonts-dejavu-core"},
        {"Liberation", "/usr/share/fonts/truetype/liberation", "fonts-liberation"},
        {"Noto", "/usr/share/fonts/truetype/noto", "fonts-noto-core"},
    };
    return kSets;
}

const FontSet* TestDesktop::ChosenFontSet() {
    const char* chosen = std::getenv("RXT9_TEST_FONT_SET");
    const std::string name = chosen != nullptr ? chosen : FontSets().front().name;
    for (const FontSet& set : FontSets()) {
        if (set.name == name) {
            return &set;
        }
    }
    return nullptr;
}

int TestDesktop::ChosenDotsPerInch() {
    const char* chosen = std::getenv("RXT9_TEST_DPI");
    return chosen != nullptr ? std::atoi(chosen) : kResolutions[0];
}

TestDesktop::TestDesktop() {
    const FontSet* set = ChosenFontSet();
    if (set == nullptr || !std::filesystem::is_directory(set->folder)) {
        std::cerr << "qt_tests: the font set "
                  << (set != nullptr ? set->name + " is not installed (" + set->package + ")"
                                     : std::string("chosen is unknown"))
                  << '\n';
        std::exit(1);
    }
    // The fonts of one folder and none of the machine's rules, so no alias can swap a face.
    m_directory.WriteFile("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig>\n  <dir>" +
                                            set->folder + "</dir>\n  <cachedir>" +
                                            m_directory.File("cache") +
                                            "</cachedir>\n</fontconfig>\n");
    // The base resolution equals the screen's, so that Qt scales nothing itself and the
    // backend sees the resolution as Windows reports it to a program that is aware of it.
    const std::string dpi = std::to_string(ChosenDotsPerInch());
    m_directory.WriteFile("screen.json",
                          "{\"screens\": [{\"name\": \"test\", \"width\": 1920, "
                          "\"height\": 1440, \"logicalDpi\": " +
                              dpi + ", \"logicalBaseDpi\": " + dpi + "}]}\n");
    m_environment.Set("FONTCONFIG_FILE", m_directory.File("fonts.conf"));
    m_environment.Set("QT_QPA_PLATFORM", "offscreen:configfile=" + m_directory.File("screen.json"));
}
