#include "linkedit.h"

#include "byte_io.h"
#include "dyld_info.h"
#include "export_trie.h"
#include "macho.h"

namespace torvel::ld {

Linkedit buildLinkedit(Image& image) {
  Linkedit le;
  le.symbols = buildSymbolTables(image);
  le.rebase = encodeRebases(image);
  le.bind = encodeBinds(image);
  le.weakBind = encodeWeakBinds(image);
  le.lazyBind = image.lazyBindInfo;
  le.exports = buildExportTrie(exportedSymbols(image));
  uint32_t at = image.segments.back().fileoff;
  auto place = [&](uint32_t& off, size_t size) {
    off = size ? at : 0;
    at += alignUp(uint32_t(size), 4);
  };
  place(le.rebaseOff, le.rebase.size());
  place(le.bindOff, le.bind.size());
  place(le.weakBindOff, le.weakBind.size());
  place(le.lazyBindOff, le.lazyBind.size());
  place(le.exportOff, le.exports.size());
  place(le.symOff, le.symbols.nlist.size());
  place(le.indirectOff, le.symbols.indirect.size());
  place(le.strOff, le.symbols.strings.size());
  le.end = at;
  Segment& seg = image.segments.back();
  seg.filesize = at - seg.fileoff;
  seg.vmsize = alignUp(seg.filesize, kPageSize);
  return le;
}

}  // namespace torvel::ld
