// The Mach-O format as LLVM's installed header describes it: its constants,
// and its structures (mach_header, the load commands, section, nlist), whose
// sizes and fields the linker uses by name. The build defines
// LLVM_DISABLE_ABI_BREAKING_CHECKS_ENFORCING so that including it needs no
// LLVM library at link time.
#pragma once

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include <llvm/BinaryFormat/MachO.h>

#include "byte_io.h"

namespace torvel::ld {
namespace MachO = llvm::MachO;

constexpr uint32_t kPageSize = 4096;
constexpr uint32_t kPointerSize = 4;

// A structure's size in the file: its fields back to back, no padding.
template <class T>
constexpr uint32_t fileSize() {
  static_assert(std::has_unique_object_representations_v<T>, "a file structure has no padding");
  return uint32_t(sizeof(T));
}

// Reads one of MachO.h's structures from the file's little-endian bytes
// (fileSize<T>() of them, which the caller has checked are there).
template <class T>
T loadStruct(const uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, fileSize<T>());
  if constexpr (std::endian::native == std::endian::big) MachO::swapStruct(value);
  return value;
}

// Appends one of MachO.h's structures as the file holds it.
template <class T>
void appendStruct(ByteWriter& out, T value) {
  if constexpr (std::endian::native == std::endian::big) MachO::swapStruct(value);
  uint8_t bytes[sizeof(T)];
  std::memcpy(bytes, &value, fileSize<T>());
  out.raw(bytes, sizeof bytes);
}

// Fills a 16-byte segment or section name field, NUL padded (no terminator
// when the name takes all 16 bytes).
inline void setName16(char (&field)[16], const std::string& name) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, name.data(), std::min(name.size(), sizeof field));
}

// The name in a 16-byte field, up to its first NUL.
inline std::string name16(const char (&field)[16]) { return std::string(field, strnlen(field, sizeof field)); }

}  // namespace torvel::ld
