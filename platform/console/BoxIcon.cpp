#include "platform/console/BoxIcon.h"

#include <algorithm>
#include <iterator>

#include "platform/ui/Messages.h"

namespace console {

namespace {

struct IconFacts {
    UINT type;  // the message box's icon flag
    BoxIcon icon;
    const char* name;
};

constexpr IconFacts kIcons[] = {
    {0, BoxIcon::None, "none"},
    {win::MB_ICONHAND, BoxIcon::Error, "error"},
    {win::MB_ICONQUESTION, BoxIcon::Question, "question"},
    {win::MB_ICONEXCLAMATION, BoxIcon::Warning, "warning"},
    {win::MB_ICONASTERISK, BoxIcon::Information, "information"},
};

template <typename Matches>
const IconFacts& Find(Matches matches) {
    const auto* found = std::find_if(std::begin(kIcons), std::end(kIcons), matches);
    return found != std::end(kIcons) ? *found : kIcons[0];
}

}  // namespace

BoxIcon IconOf(UINT type) {
    const UINT icon = type & win::MB_ICONMASK;
    return Find([icon](const IconFacts& facts) { return facts.type == icon; }).icon;
}

const char* NameOf(BoxIcon icon) {
    return Find([icon](const IconFacts& facts) { return facts.icon == icon; }).name;
}

}  // namespace console
