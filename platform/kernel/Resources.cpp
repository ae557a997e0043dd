#include "platform/Resources.h"

#include "platform/Kernel.h"

namespace win {

HRSRC FindResourceA(HMODULE /*module*/, WORD id, LPCSTR type) {
    if (type == nullptr) {
        return nullptr;
    }
    if (HRSRC registered = ResourceTable::FindRegistered(id, type)) {
        return registered;
    }
    SetLastError(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
    return nullptr;
}

}  // namespace win
