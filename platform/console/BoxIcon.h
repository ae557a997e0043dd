// The icon of a message box, as a terminal front-end names it.
#pragma once

#include "platform/WinTypes.h"

namespace console {

enum class BoxIcon { None, Error, Question, Warning, Information };

// The icon that a message box of this type shows; None for a type without a known icon.
BoxIcon IconOf(UINT type);
// The icon's name in the terminal's lines and the JSON events: "none", "error", ...
const char* NameOf(BoxIcon icon);

}  // namespace console
