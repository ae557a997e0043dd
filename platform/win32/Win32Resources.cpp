// Resources of Resources.h over the program's real resource section (rxt9-update.rc): the
// firmware images, the icon and the string tables, whose "STRING<language>" types stand for
// the string table of that language. Tables that code registers at start (ResourceTable) are
// found after the module's own resources, so a program without a resource section, such as a
// test, still finds what it registered.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Resources.h"
#include "platform/win32/NativeKernel.h"

namespace win {

namespace {

constexpr DWORD kResourceTypeNotFound = 1813;
constexpr char kStringTypePrefix[] = "STRING";

// The module's resources as entries, made once each and kept for the program's life, as
// the resources themselves stay mapped.
struct ModuleEntry {
    std::string type;
    std::string text;
    ResourceEntry entry{};
};

HRSRC FindInModule(WORD id, LPCSTR type) {
    static std::map<std::tuple<std::string, WORD>, std::unique_ptr<ModuleEntry>> found;
    const auto key = std::make_tuple(std::string(type), id);
    if (const auto known = found.find(key); known != found.end()) {
        return &known->second->entry;
    }
    auto made = std::make_unique<ModuleEntry>();
    made->type = type;
    const size_t prefix = std::strlen(kStringTypePrefix);
    if (std::strncmp(type, kStringTypePrefix, prefix) == 0) {
        const auto language = static_cast<uint16_t>(std::strtoul(type + prefix, nullptr, 10));
        if (!win32::LoadModuleString(id, language, made->text)) {
            return nullptr;
        }
        made->entry = {made->type.c_str(), id, made->text.data(),
                       static_cast<DWORD>(made->text.size())};
    } else {
        const win32::ResourceBytes bytes = win32::FindModuleResource(id, type);
        if (bytes.data == nullptr) {
            return nullptr;
        }
        made->entry = {made->type.c_str(), id, bytes.data, bytes.size};
    }
    return &found.emplace(key, std::move(made)).first->second->entry;
}

}  // namespace

HRSRC FindResourceA(HMODULE /*module*/, WORD id, LPCSTR type) {
    if (type == nullptr) {
        return nullptr;
    }
    if (HRSRC own = FindInModule(id, type)) {
        return own;
    }
    if (HRSRC registered = ResourceTable::FindRegistered(id, type)) {
        return registered;
    }
    SetLastError(kResourceTypeNotFound);
    return nullptr;
}

}  // namespace win
