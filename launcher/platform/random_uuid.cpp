#include "random_uuid.h"

#include <cstdint>
#include <random>

namespace vornik {

std::string randomUuidString() {
    // std::random_device reads the system's random source on Linux and macOS.
    static thread_local std::random_device source;
    std::uint8_t bytes[16];
    for (int i = 0; i < 16; i += 4) {
        std::uint32_t word = source();
        for (int j = 0; j < 4; ++j) bytes[i + j] = static_cast<std::uint8_t>(word >> (8 * j));
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant

    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

}  // namespace vornik
