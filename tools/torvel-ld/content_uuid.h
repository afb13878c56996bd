// LC_UUID derived from the file's own bytes (a 128-bit FNV-1a hash shaped as
// an RFC 4122 name-based UUID), so the same inputs always give the same file.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace torvel::ld {

std::array<uint8_t, 16> contentUuid(const std::vector<uint8_t>& bytes);

}  // namespace torvel::ld
