// Writes the finished dylib: mach_header, the load commands layout planned,
// section contents and the linkedit blobs, and the UUID of the result.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace torvel::ld {

std::vector<uint8_t> writeDylib(Image& image);

}  // namespace torvel::ld
