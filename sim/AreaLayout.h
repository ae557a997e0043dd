// The printer's firmware areas: the letter that the prepare and start-write commands name, the
// address range that the area's S-records load into, and the item of the version reply that
// reports it.
//
//   letter  item      first     last      size
//   p       DATA1(M)  00080000  0027FFFF  2 MiB
//   c       -         00280000  002BFFFF  256 KiB  (the gap between DATA1(M) and DATA4(M); the
//                                                   printer accepts it but never reports it)
//   s       DATA4(M)  002C0000  002FFFFF  256 KiB
//   f       DATA3(F)  00300000  004FFFFF  2 MiB    (the gap between DATA4(M) and DATA2(T))
//   t       DATA2(T)  00500000  006FFFFF  2 MiB
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace sim {

struct AreaLayout {
    char letter;
    std::string_view item;  // "DATA1(M)" ...; empty for the area without an item
    uint32_t first;
    uint32_t last;
    int replyItem;  // position in the version reply, -1 when the reply does not carry it

    uint32_t Size() const { return last - first + 1; }

    // In the order p, t, c, f, s (the area numbers of the command set).
    static std::span<const AreaLayout> All();
    static const AreaLayout* ByLetter(char letter);
    // By letter ("p") or item name, with or without the suffix ("DATA1(M)", "DATA1").
    static const AreaLayout* ByName(std::string_view name);
    // The area that the version reply's item 0 to 3 reports.
    static const AreaLayout& ForReplyItem(int item);
    // Index of the area in All().
    size_t Index() const;
};

}  // namespace sim
