// The in-memory dialog templates built from the system's dialogs: the fields user32 reads,
// where it reads them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Messages.h"
#include "platform/win32/DialogTemplateBytes.h"

namespace {

uint16_t WordAt(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}
uint32_t DoubleWordAt(const std::vector<uint8_t>& bytes, size_t offset) {
    return WordAt(bytes, offset) | (static_cast<uint32_t>(WordAt(bytes, offset + 2)) << 16);
}
// A zero-terminated UTF-16 text at offset; moves offset past it.
std::string TextAt(const std::vector<uint8_t>& bytes, size_t& offset) {
    std::string text;
    for (uint16_t unit = WordAt(bytes, offset); unit != 0; unit = WordAt(bytes, offset)) {
        text.push_back(static_cast<char>(unit));
        offset += 2;
    }
    offset += 2;
    return text;
}

class DialogTemplateBytesTest : public testing::TestWithParam<WORD> {};

TEST_P(DialogTemplateBytesTest, HeaderAndEveryControlAsTheTemplateHasThem) {
    const win::DialogTemplate* dialog = win::FindDialogTemplate(GetParam());
    ASSERT_NE(dialog, nullptr);
    const std::vector<uint8_t> bytes = win32::DialogTemplateBytes::Build(*dialog);
    const uint32_t style = DoubleWordAt(bytes, 0);
    EXPECT_EQ(style & win::WS_VISIBLE, 0u) << "shown by the framework, not by user32";
    EXPECT_EQ(style | win::WS_VISIBLE | win::DS_SETFONT,
              dialog->style | win::WS_VISIBLE | win::DS_SETFONT);
    EXPECT_NE(style & win::DS_SETFONT, 0u);
    EXPECT_EQ(DoubleWordAt(bytes, 4), dialog->exStyle);
    ASSERT_EQ(WordAt(bytes, 8), dialog->controls.size());
    EXPECT_EQ(static_cast<short>(WordAt(bytes, 14)), dialog->cx);
    EXPECT_EQ(static_cast<short>(WordAt(bytes, 16)), dialog->cy);
    size_t at = 18;
    EXPECT_EQ(WordAt(bytes, at), 0);
    EXPECT_EQ(WordAt(bytes, at + 2), 0);
    at += 4;
    EXPECT_EQ(TextAt(bytes, at), dialog->caption);
    EXPECT_EQ(WordAt(bytes, at), dialog->fontPointSize);
    at += 2;
    EXPECT_EQ(TextAt(bytes, at), dialog->fontName);
    for (const win::ControlTemplate& control : dialog->controls) {
        at = (at + 3) & ~size_t{3};
        EXPECT_EQ(DoubleWordAt(bytes, at), control.style | win::WS_CHILD) << control.id;
        EXPECT_EQ(static_cast<short>(WordAt(bytes, at + 8)), control.x);
        EXPECT_EQ(static_cast<short>(WordAt(bytes, at + 14)), control.cy);
        EXPECT_EQ(static_cast<int16_t>(WordAt(bytes, at + 16)), control.id);
        at += 18;
        if (control.kind == win::ControlKind::ProgressBar) {
            EXPECT_EQ(TextAt(bytes, at), "msctls_progress32");
        } else {
            EXPECT_EQ(WordAt(bytes, at), 0xFFFF);
            EXPECT_EQ(WordAt(bytes, at + 2),
                      control.kind == win::ControlKind::Button ? 0x0080 : 0x0082);
            at += 4;
        }
        if (control.kind == win::ControlKind::Icon) {
            EXPECT_EQ(WordAt(bytes, at), 0xFFFF);
            EXPECT_EQ(WordAt(bytes, at + 2), 128);
            at += 4;
        } else {
            EXPECT_EQ(TextAt(bytes, at), control.text);
        }
        EXPECT_EQ(WordAt(bytes, at), 0) << "creation data";
        at += 2;
    }
    EXPECT_EQ(at, bytes.size());
}

// The About box, the main window and the progress window.
INSTANTIATE_TEST_SUITE_P(Dialogs, DialogTemplateBytesTest, testing::Values(100, 102, 103));

}  // namespace
