#include "sim/AreaLayout.h"

#include <array>

namespace sim {

namespace {

constexpr std::array<AreaLayout, 5> kAreas{{
    {'p', "DATA1(M)", 0x00080000, 0x0027FFFF, 0},
    {'t', "DATA2(T)", 0x00500000, 0x006FFFFF, 1},
    {'c', "", 0x00280000, 0x002BFFFF, -1},
    {'f', "DATA3(F)", 0x00300000, 0x004FFFFF, 2},
    {'s', "DATA4(M)", 0x002C0000, 0x002FFFFF, 3},
}};

}  // namespace

std::span<const AreaLayout> AreaLayout::All() {
    return kAreas;
}

const AreaLayout* AreaLayout::ByLetter(char letter) {
    for (const AreaLayout& area : kAreas) {
        if (area.letter == letter) {
            return &area;
        }
    }
    return nullptr;
}

const AreaLayout* AreaLayout::ByName(std::string_view name) {
    if (name.size() == 1) {
        return ByLetter(name[0]);
    }
    for (const AreaLayout& area : kAreas) {
        if (!area.item.empty() && (name == area.item || name == area.item.substr(0, 5))) {
            return &area;
        }
    }
    return nullptr;
}

const AreaLayout& AreaLayout::ForReplyItem(int item) {
    for (const AreaLayout& area : kAreas) {
        if (area.replyItem == item) {
            return area;
        }
    }
    return kAreas[0];
}

size_t AreaLayout::Index() const {
    return static_cast<size_t>(this - kAreas.data());
}

}  // namespace sim
