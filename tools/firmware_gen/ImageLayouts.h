// The layouts of the package's firmware images, by name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/firmware_gen/ImageLayout.h"

namespace firmware {

// Null for a name that is not one of ImageLayoutNames().
const ImageLayout* FindImageLayout(std::string_view name);
std::vector<std::string> ImageLayoutNames();

}  // namespace firmware
