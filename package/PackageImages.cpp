// The main window's firmware images: loaded from the program's resources at the start of a
// Download, copied for the selected set, and freed at its end.
#include <cstring>
#include <new>

#include "app/DataSlotFacts.h"
#include "app/UpdateDlg.h"
#include "platform/Resources.h"

namespace {

// A buffer of the given size, or none when the memory cannot be had: a failed allocation is a
// failed step, never an exception.
std::unique_ptr<BYTE[]> AllocateImage(DWORD size) {
    return std::unique_ptr<BYTE[]>(new (std::nothrow) BYTE[size]);
}

}  // namespace

BOOL CUpdateDlg::LoadImage(int slot, std::unique_ptr<BYTE[]>& buffer, DWORD& size) {
    win::HRSRC resource = win::FindResourceA(nullptr, FactsOf(slot).imageResource, "BINARY");
    size = resource != nullptr ? win::SizeofResource(nullptr, resource) : 0;
    if (size == 0) {
        return FALSE;
    }
    const void* bytes = win::LockResource(win::LoadResource(nullptr, resource));
    if (bytes == nullptr) {
        size = 0;
        return FALSE;
    }
    buffer = AllocateImage(size);
    if (buffer == nullptr) {
        size = 0;
        return FALSE;
    }
    std::memcpy(buffer.get(), bytes, size);
    return TRUE;
}

BOOL CUpdateDlg::LoadPackageImages() {
    FreePackageImages();
    struct SetToLoad {
        int set;
        std::array<ImageBuffer, 4>& images;
        DWORD& total;
    };
    SetToLoad sets[] = {{2, m_set2Images, m_dwSet2Total}, {1, m_set1Images, m_dwSet1Total}};
    for (SetToLoad& entry : sets) {
        DWORD seconds = 0;
        for (int slot = 0; slot < kDataSlotCount; ++slot) {
            if (m_package.GetVersion(entry.set, slot).empty()) {
                continue;
            }
            ImageBuffer& image = entry.images[static_cast<size_t>(slot)];
            if (!LoadImage(slot, image.data, image.size)) {
                FreePackageImages();
                return FALSE;
            }
            seconds += static_cast<DWORD>(m_package.m_nPrepareWait[static_cast<size_t>(slot)] +
                                          m_package.m_nWriteEstimate[static_cast<size_t>(slot)]);
        }
        entry.total = (seconds + 3) * 1000;
    }
    return TRUE;
}

BOOL CUpdateDlg::SelectPackageImages() {
    const bool second = PackageSet == 2;
    const auto& loaded = second ? m_set2Images : m_set1Images;
    for (size_t slot = 0; slot < 4; ++slot) {
        ImageBuffer& copy = m_transferImages[slot];
        copy.size = loaded[slot].size;
        copy.data.reset();
        if (copy.size != 0) {
            copy.data = AllocateImage(copy.size);
            if (copy.data == nullptr) {
                copy.size = 0;
                return FALSE;
            }
            std::memcpy(copy.data.get(), loaded[slot].data.get(), copy.size);
        }
    }
    m_dwSelectedTotal = second ? m_dwSet2Total : m_dwSet1Total;
    return TRUE;
}

void CUpdateDlg::FreePackageImages() {
    for (auto* images : {&m_set1Images, &m_set2Images, &m_transferImages}) {
        for (ImageBuffer& image : *images) {
            image.data.reset();
            image.size = 0;
        }
    }
}
