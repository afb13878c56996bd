// Lays out __LINKEDIT and writes the finished dylib: mach_header, load
// commands, section contents and the linkedit blobs.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace torvel::ld {

extern const char* const kLibSystemPath;

// Size of the mach_header plus all load commands for the image's segments.
uint32_t headerAndCommandsSize(const Image& image);

std::vector<uint8_t> writeDylib(Image& image);

}  // namespace torvel::ld
