// The contents of __LINKEDIT: the dyld information streams, the symbol,
// indirect symbol and string tables, and where each lies in the file.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"
#include "symbol_table.h"

namespace torvel::ld {

struct Linkedit {
  std::vector<uint8_t> rebase, bind, weakBind, lazyBind, exports;
  SymbolTables symbols;
  // File offsets (0 for an empty blob), each blob 4-byte aligned, in this order.
  uint32_t rebaseOff = 0, bindOff = 0, weakBindOff = 0, lazyBindOff = 0, exportOff = 0;
  uint32_t symOff = 0, indirectOff = 0, strOff = 0, end = 0;
};

// Encodes every blob, places them from the __LINKEDIT segment's file offset
// on and gives that segment its size.
Linkedit buildLinkedit(Image& image);

}  // namespace torvel::ld
