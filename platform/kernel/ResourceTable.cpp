// The resource tables that register themselves, and the calls on a found resource: the same on
// every platform.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Resources.h"

namespace win {

namespace {

std::vector<const ResourceEntry*>& Registry() {
    static std::vector<const ResourceEntry*> entries;
    return entries;
}

}  // namespace

ResourceTable::ResourceTable(const ResourceEntry* entries, size_t count)
    : m_entries(entries), m_count(count) {
    for (size_t i = 0; i < count; ++i) {
        Registry().push_back(&entries[i]);
    }
}

ResourceTable::~ResourceTable() {
    auto& registry = Registry();
    registry.erase(std::remove_if(registry.begin(), registry.end(),
                                  [this](const ResourceEntry* entry) {
                                      return entry >= m_entries && entry < m_entries + m_count;
                                  }),
                   registry.end());
}

HRSRC ResourceTable::FindRegistered(WORD id, LPCSTR type) {
    const auto& registry = Registry();
    for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
        if ((*it)->id == id && std::strcmp((*it)->type, type) == 0) {
            return *it;
        }
    }
    return nullptr;
}

DWORD SizeofResource(HMODULE /*module*/, HRSRC resource) {
    return resource != nullptr ? resource->size : 0;
}

HGLOBAL LoadResource(HMODULE /*module*/, HRSRC resource) {
    return resource != nullptr ? resource->data : nullptr;
}

const void* LockResource(HGLOBAL resource) {
    return resource;
}

}  // namespace win
