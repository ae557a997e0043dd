#include "platform/kernel/LibraryFiles.h"

#include <algorithm>

namespace win {

LibraryFiles& LibraryFiles::Instance() {
    // Never destroyed: the vendor library is freed at exit, after the objects of the program,
    // and still unregisters its table then.
    static auto* const files = new LibraryFiles;
    return *files;
}

void LibraryFiles::Register(const ZELPORT_FILE_OPERATIONS* operations) {
    if (operations == nullptr || operations->version != ZELPORT_FILE_OPERATIONS_VERSION ||
        operations->owns == nullptr || operations->read == nullptr ||
        operations->write == nullptr || operations->close == nullptr) {
        return;
    }
    m_tables.push_back(operations);
}

void LibraryFiles::Unregister(const ZELPORT_FILE_OPERATIONS* operations) {
    const auto found = std::find(m_tables.begin(), m_tables.end(), operations);
    if (found != m_tables.end()) {
        m_tables.erase(found);
    }
}

const ZELPORT_FILE_OPERATIONS* LibraryFiles::OwnerOf(HANDLE handle) const {
    for (const ZELPORT_FILE_OPERATIONS* table : m_tables) {
        if (table->owns(handle) != 0) {
            return table;
        }
    }
    return nullptr;
}

}  // namespace win
