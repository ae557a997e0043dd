// The desktop the Qt suite's windows are drawn on: one font set and one screen resolution,
// whatever the machine has, so that what the suite measures and the screenshots it takes are
// the same on every machine. A run picks them with RXT9_TEST_FONT_SET and RXT9_TEST_DPI; by
// default DejaVu, Debian's default set, at 96 dots per inch.
#pragma once

#include <string>
#include <vector>

#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryDirectory.h"

struct FontSet {
    std::string name;    // the name a run picks it by, and the test cases' names
    std::string folder;  // the folder its Debian package installs
    std::string package;
};

class TestDesktop {
public:
    static const std::vector<FontSet>& FontSets();
    static constexpr int kResolutions[] = {96, 120, 144, 192};
    // What this run picked: the set is null when its name is unknown.
    static const FontSet* ChosenFontSet();
    static int ChosenDotsPerInch();

    // Points fontconfig at the chosen set's folder alone and Qt's offscreen platform at a
    // screen of the chosen resolution. Call it before the QApplication is made; the desktop
    // must outlive it. Exits with a message when the set is unknown or not installed.
    TestDesktop();

private:
    testing_support::TemporaryDirectory m_directory;
    testing_support::ScopedEnvironment m_environment;
};
