// The export trie of LC_DYLD_INFO_ONLY: a prefix tree of the exported names
// whose terminal nodes hold the export flags and the offset from the
// mach_header. Node offsets are ULEB128 numbers whose sizes depend on the
// offsets themselves, so the layout is repeated until it settles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvel::ld {

struct ExportEntry {
  std::string name;
  uint64_t flags = 0;  // EXPORT_SYMBOL_FLAGS_*
  uint64_t address = 0;
};

std::vector<uint8_t> buildExportTrie(std::vector<ExportEntry> entries);

}  // namespace torvel::ld
