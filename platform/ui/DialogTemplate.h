// Dialogs as data: every window is a template of controls with ids, kinds, texts, styles and
// geometry in dialog units, which each backend renders. Templates register themselves at
// start through a DialogTable, as the dialog resources of a Windows program.
#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace win {

enum class ControlKind { Static, Button, ProgressBar, Icon };

struct ControlTemplate {
    int id;
    ControlKind kind;
    std::string text;
    DWORD style;
    short x, y, cx, cy;
};

struct DialogTemplate {
    WORD id;
    std::string caption;
    DWORD style;
    DWORD exStyle;
    std::string fontName;
    WORD fontPointSize;
    short x, y, cx, cy;
    std::vector<ControlTemplate> controls;
};

class DialogTable {
public:
    DialogTable(const DialogTemplate* templates, size_t count);
    ~DialogTable();
    DialogTable(const DialogTable&) = delete;
    DialogTable& operator=(const DialogTable&) = delete;

private:
    const DialogTemplate* m_templates;
    size_t m_count;
};

const DialogTemplate* FindDialogTemplate(WORD id);

}  // namespace win
