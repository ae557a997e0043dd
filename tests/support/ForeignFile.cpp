#include "tests/support/ForeignFile.h"

#include <fcntl.h>

namespace testing_support {

HANDLE OpenForeignFile(const char* path, bool forWriting) {
    const int descriptor = open(path, (forWriting ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
    return descriptor < 0 ? INVALID_HANDLE_VALUE : static_cast<HANDLE>(descriptor);
}

}  // namespace testing_support
