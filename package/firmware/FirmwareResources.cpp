// The firmware images as resources of type "BINARY". The table points straight at the bytes
// that FirmwareImages.S assembles into the program, so nothing is copied when it starts.
#include <iterator>

#include "app/Resource.h"
#include "platform/Resources.h"

extern "C" {
extern const BYTE rxt9_image_data1m[];
extern const BYTE rxt9_image_data1m_end[];
extern const BYTE rxt9_image_data2t[];
extern const BYTE rxt9_image_data2t_end[];
extern const BYTE rxt9_image_data4m[];
extern const BYTE rxt9_image_data4m_end[];
}

namespace {

constexpr LPCSTR kResourceType = "BINARY";

win::ResourceEntry Image(WORD id, const BYTE* begin, const BYTE* end) {
    return {kResourceType, id, begin, static_cast<DWORD>(end - begin)};
}

const win::ResourceEntry kFirmwareImages[] = {
    Image(IDR_DATA1M, rxt9_image_data1m, rxt9_image_data1m_end),
    Image(IDR_DATA2T, rxt9_image_data2t, rxt9_image_data2t_end),
    Image(IDR_DATA4M, rxt9_image_data4m, rxt9_image_data4m_end),
};

const win::ResourceTable kFirmwareTable(kFirmwareImages, std::size(kFirmwareImages));

}  // namespace
