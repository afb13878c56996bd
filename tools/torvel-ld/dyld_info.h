// Encoders for the compressed dyld information streams of LC_DYLD_INFO_ONLY:
// rebase, bind, weak bind and lazy bind opcodes. Addresses are given as final
// addresses and turned into (segment index, offset from segment start).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_io.h"
#include "image.h"

namespace torvel::ld {

std::vector<uint8_t> encodeRebases(const Image& image);
std::vector<uint8_t> encodeBinds(const Image& image);
std::vector<uint8_t> encodeWeakBinds(const Image& image);

// One self-contained lazy-bind entry (ordinal 1, libSystem), ending in DONE.
void appendLazyBind(ByteWriter& out, uint32_t segment, uint32_t offset, const std::string& name, bool weakImport);

}  // namespace torvel::ld
