// Little-endian byte access and a growable byte buffer with the LEB128
// encodings the dyld information streams use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torvel::ld {

inline uint16_t read16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

inline uint32_t read32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void write16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

inline void write32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

class ByteWriter {
 public:
  void u8(uint8_t v) { bytes_.push_back(v); }
  void u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) u8(uint8_t(v >> (8 * i)));
  }
  void uleb(uint64_t v) {
    do {
      uint8_t b = v & 0x7F;
      v >>= 7;
      if (v != 0) b |= 0x80;
      u8(b);
    } while (v != 0);
  }
  void sleb(int64_t v) {
    bool more = true;
    while (more) {
      uint8_t b = v & 0x7F;
      v >>= 7;  // arithmetic shift keeps the sign
      more = !((v == 0 && !(b & 0x40)) || (v == -1 && (b & 0x40)));
      if (more) b |= 0x80;
      u8(b);
    }
  }
  // Writes the text and its terminating NUL.
  void cstr(std::string_view s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    u8(0);
  }
  void append(const std::vector<uint8_t>& other) { bytes_.insert(bytes_.end(), other.begin(), other.end()); }
  void raw(const uint8_t* p, size_t n) { bytes_.insert(bytes_.end(), p, p + n); }
  void padTo(size_t alignment, uint8_t fill = 0) {
    while (bytes_.size() % alignment != 0) u8(fill);
  }
  size_t size() const { return bytes_.size(); }
  std::vector<uint8_t>& bytes() { return bytes_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

inline size_t ulebSize(uint64_t v) {
  size_t n = 1;
  while (v >= 0x80) {
    v >>= 7;
    ++n;
  }
  return n;
}

inline uint32_t alignUp(uint32_t v, uint32_t alignment) { return (v + alignment - 1) / alignment * alignment; }

}  // namespace torvel::ld
