#include "content_uuid.h"

namespace torvel::ld {

std::array<uint8_t, 16> contentUuid(const std::vector<uint8_t>& bytes) {
  using u128 = unsigned __int128;
  const u128 prime = (u128(1) << 88) | 0x13B;
  u128 hash = (u128(0x6C62272E07BB0142ull) << 64) | 0x62B821756295C58Dull;
  for (uint8_t b : bytes) {
    hash ^= b;
    hash *= prime;
  }
  std::array<uint8_t, 16> uuid{};
  for (int i = 0; i < 16; ++i) uuid[i] = uint8_t(hash >> (8 * (15 - i)));
  uuid[6] = uint8_t((uuid[6] & 0x0F) | 0x30);  // version 3: name-based
  uuid[8] = uint8_t((uuid[8] & 0x3F) | 0x80);  // RFC 4122 variant
  return uuid;
}

}  // namespace torvel::ld
