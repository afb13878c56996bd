// One whole link: objects in, the bytes of the MH_DYLIB out.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace torvel::ld {

std::vector<uint8_t> link(const LinkOptions& options);

}  // namespace torvel::ld
