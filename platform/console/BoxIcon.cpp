#include "platform/console/BoxIcon.h"

#include "platform/ui/Messages.h"

namespace console {

BoxIcon IconOf(UINT type) {
    switch (type & win::MB_ICONMASK) {
        case win::MB_ICONHAND:
            return BoxIcon::Error;
        case win::MB_ICONQUESTION:
            return BoxIcon::Question;
        case win::MB_ICONEXCLAMATION:
            return BoxIcon::Warning;
        case win::MB_ICONASTERISK:
            return BoxIcon::Information;
        default:
            return BoxIcon::None;
    }
}

}  // namespace console
