// A dialog template of the framework as the in-memory DLGTEMPLATE that user32 builds a
// dialog from: the header with style, size and caption, the font, then each control with its
// style, geometry, id, window class and text, each item aligned to 32 bits. Texts are
// widened from the 8-bit characters of the templates.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/DialogTemplate.h"

namespace win32 {

class DialogTemplateBytes {
public:
    // The ordinal of the program icon that icon controls show.
    static constexpr uint16_t kIconOrdinal = 128;

    // The dialog is built hidden: the framework shows it when it has initialised it.
    static std::vector<uint8_t> Build(const win::DialogTemplate& dialog);

private:
    void Word(uint16_t value);
    void DoubleWord(uint32_t value);
    void Text(const std::string& text);
    void Ordinal(uint16_t value);
    void AlignTo(size_t bytes);
    void Control(const win::ControlTemplate& control);

    std::vector<uint8_t> m_bytes;
};

}  // namespace win32
