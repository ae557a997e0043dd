#include "sim/PrinterConfig.h"

namespace sim {

PrinterConfig::PrinterConfig() {
    firmware[AreaLayout::ByLetter('p')->Index()] = ItemFirmware::Of("450B42", 0x6B1D);
    firmware[AreaLayout::ByLetter('t')->Index()] = ItemFirmware::Of("452C11", 0xBEB3);
    firmware[AreaLayout::ByLetter('f')->Index()] = ItemFirmware::Of("453A10", 0x0000);
    firmware[AreaLayout::ByLetter('s')->Index()] = ItemFirmware::Of("454E11", 0x9C27);
    NameAfterPosition(0);
}

void PrinterConfig::NameAfterPosition(size_t position) {
    size_t number = (position + 1) % 10000;
    identity = {'T', '9', '0', '0', '0', '0'};
    for (size_t i = identity.size(); i-- > 2 && number != 0; number /= 10) {
        identity[i] = static_cast<uint8_t>('0' + number % 10);
    }
}

bool PrinterConfig::NeedsWriteControl() const {
    return !writeFaults.empty() || linkBytesPerSecond != 0 || unplugAfterImageBytes.has_value() ||
           !restartHeldUntil.empty();
}

}  // namespace sim
