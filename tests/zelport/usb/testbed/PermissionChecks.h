// Makes the calling thread subject to file permissions while the object lives, also when it
// runs as root: lowers its capabilities to override them (CAP_DAC_OVERRIDE and
// CAP_DAC_READ_SEARCH) from the effective set, and raises them again afterwards. Lets a test
// that runs as root see a device node it may not open, as a user would.
#pragma once

#include "tests/support/NonCopyable.h"

namespace zelusb {

class PermissionChecks : testing_support::NonCopyable {
public:
    PermissionChecks();
    ~PermissionChecks();

private:
    bool m_lowered = false;
};

}  // namespace zelusb
