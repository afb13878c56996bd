// The dylib's symbol table (locals, then exported definitions by name, then
// imports by name), its string table and its indirect symbol table.
#pragma once

#include <cstdint>
#include <vector>

#include "export_trie.h"
#include "image.h"

namespace torvel::ld {

struct SymbolTables {
  std::vector<uint8_t> nlist;
  std::vector<uint8_t> strings;
  std::vector<uint8_t> indirect;
  uint32_t nlocal = 0, nextdef = 0, nundef = 0;
  uint32_t nindirect = 0;
};

// Also sets each global's outputIndex.
SymbolTables buildSymbolTables(Image& image);

std::vector<ExportEntry> exportedSymbols(const Image& image);

}  // namespace torvel::ld
