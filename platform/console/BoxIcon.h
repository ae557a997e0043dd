// The icon of a message box, as a terminal front-end names it.
#pragma once

#include "platform/WinTypes.h"

namespace console {

enum class BoxIcon { None, Error, Question, Warning, Information };

// The icon that a message box of this type shows.
BoxIcon IconOf(UINT type);

}  // namespace console
