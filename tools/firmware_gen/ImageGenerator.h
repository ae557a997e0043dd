// Builds the S-record text of a firmware image from its layout.
#pragma once

#include <string>

#include "tools/firmware_gen/ImageLayout.h"

namespace firmware {

// The same layout always gives the same text: the filler comes from std::mt19937, whose
// output the C++ standard fixes for every implementation.
std::string GenerateImage(const ImageLayout& layout);

}  // namespace firmware
