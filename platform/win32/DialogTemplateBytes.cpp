#include "platform/win32/DialogTemplateBytes.h"

#include "platform/ui/Messages.h"

namespace win32 {

namespace {

// The predefined window classes of dialog items, by ordinal.
constexpr uint16_t kButtonClass = 0x0080;
constexpr uint16_t kStaticClass = 0x0082;
constexpr char kProgressClass[] = "msctls_progress32";

}  // namespace

std::vector<uint8_t> DialogTemplateBytes::Build(const win::DialogTemplate& dialog) {
    DialogTemplateBytes bytes;
    const bool hasFont = !dialog.fontName.empty();
    DWORD style = dialog.style & ~win::WS_VISIBLE;
    if (hasFont) {
        style |= win::DS_SETFONT;
    }
    bytes.DoubleWord(style);
    bytes.DoubleWord(dialog.exStyle);
    bytes.Word(static_cast<uint16_t>(dialog.controls.size()));
    for (const short value : {dialog.x, dialog.y, dialog.cx, dialog.cy}) {
        bytes.Word(static_cast<uint16_t>(value));
    }
    bytes.Word(0);  // no menu
    bytes.Word(0);  // the dialog class
    bytes.Text(dialog.caption);
    if (hasFont) {
        bytes.Word(dialog.fontPointSize);
        bytes.Text(dialog.fontName);
    }
    for (const win::ControlTemplate& control : dialog.controls) {
        bytes.Control(control);
    }
    return std::move(bytes.m_bytes);
}

void DialogTemplateBytes::Control(const win::ControlTemplate& control) {
    AlignTo(4);
    DoubleWord(control.style | win::WS_CHILD);
    DoubleWord(0);
    for (const short value : {control.x, control.y, control.cx, control.cy}) {
        Word(static_cast<uint16_t>(value));
    }
    Word(static_cast<uint16_t>(control.id));
    switch (control.kind) {
        case win::ControlKind::Button:
            Ordinal(kButtonClass);
            Text(control.text);
            break;
        case win::ControlKind::Static:
            Ordinal(kStaticClass);
            Text(control.text);
            break;
        case win::ControlKind::Icon:
            Ordinal(kStaticClass);
            Ordinal(kIconOrdinal);
            break;
        case win::ControlKind::ProgressBar:
            Text(kProgressClass);
            Text(control.text);
            break;
    }
    Word(0);  // no creation data
}

void DialogTemplateBytes::Word(uint16_t value) {
    m_bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    m_bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void DialogTemplateBytes::DoubleWord(uint32_t value) {
    Word(static_cast<uint16_t>(value & 0xFFFF));
    Word(static_cast<uint16_t>(value >> 16));
}

void DialogTemplateBytes::Text(const std::string& text) {
    for (const char c : text) {
        Word(static_cast<unsigned char>(c));
    }
    Word(0);
}

void DialogTemplateBytes::Ordinal(uint16_t value) {
    Word(0xFFFF);
    Word(value);
}

void DialogTemplateBytes::AlignTo(size_t bytes) {
    while (m_bytes.size() % bytes != 0) {
        m_bytes.push_back(0);
    }
}

}  // namespace win32
