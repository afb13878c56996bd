// One whole link: objects in, the bytes of the MH_DYLIB out.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace torvel::ld {

// Reads options.inputs and links them.
std::vector<uint8_t> link(const LinkOptions& options);

// Links objects already in memory (options.inputs is not read).
std::vector<uint8_t> linkObjects(const LinkOptions& options, std::vector<ObjectFile> objects);

}  // namespace torvel::ld
