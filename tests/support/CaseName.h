// Parameterised tests print each case by its name rather than as bytes: a case whose struct
// has a `name` gets this PrintTo through `using testing_support::PrintTo;` in the struct's own
// namespace, where GoogleTest looks for it.
#pragma once

#include <ostream>

namespace testing_support {

template <typename Case>
requires requires(const Case& named, std::ostream& out) {
    out << named.name;
}
void PrintTo(const Case& named, std::ostream* out) {
    *out << named.name;
}

}  // namespace testing_support
