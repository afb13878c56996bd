#include "macho_writer.h"

#include <algorithm>
#include <cstring>

#include "byte_io.h"
#include "content_uuid.h"
#include "diagnostics.h"
#include "dyld_info.h"
#include "export_trie.h"
#include "macho.h"
#include "symbol_table.h"

namespace torvel::ld {

const char* const kLibSystemPath = "/usr/lib/libSystem.B.dylib";

namespace {

uint32_t dylibCommandSize(const std::string& name) { return alignUp(24 + uint32_t(name.size()) + 1, 4); }

constexpr uint32_t kDyldInfoSize = 48, kSymtabSize = 24, kDysymtabSize = 80, kUuidSize = 24, kVersionMinSize = 16;
constexpr uint32_t kLoadCommandCountBesidesSegments = 7;

struct Linkedit {
  std::vector<uint8_t> rebase, bind, weakBind, lazyBind, exports;
  SymbolTables symbols;
  uint32_t rebaseOff = 0, bindOff = 0, weakBindOff = 0, lazyBindOff = 0, exportOff = 0;
  uint32_t symOff = 0, indirectOff = 0, strOff = 0, end = 0;
};

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

void writeSegment(ByteWriter& out, const Image& image, const Segment& seg) {
  out.u32(MachO::LC_SEGMENT);
  out.u32(kSegmentCommandSize + kSectionSize * uint32_t(seg.sections.size()));
  out.fixed(seg.name, 16);
  out.u32(seg.vmaddr);
  out.u32(seg.vmsize);
  out.u32(seg.fileoff);
  out.u32(seg.filesize);
  out.u32(seg.maxprot);
  out.u32(seg.initprot);
  out.u32(uint32_t(seg.sections.size()));
  out.u32(0);
  for (int i : seg.sections) {
    const OutputSection& s = image.sections[i];
    out.fixed(s.sectname, 16);
    out.fixed(s.segname, 16);
    out.u32(s.addr);
    out.u32(s.size);
    out.u32(s.zerofill() ? 0 : s.fileOffset);
    out.u32(s.align);
    out.u32(0);  // no relocations in a linked image
    out.u32(0);
    out.u32(s.flags);
    out.u32(s.reserved1);
    out.u32(s.reserved2);
  }
}

void writeDylibCommand(ByteWriter& out, uint32_t cmd, const std::string& name, uint32_t timestamp, uint32_t current,
                       uint32_t compatibility) {
  uint32_t size = dylibCommandSize(name);
  size_t start = out.size();
  out.u32(cmd);
  out.u32(size);
  out.u32(24);
  out.u32(timestamp);
  out.u32(current);
  out.u32(compatibility);
  out.cstr(name);
  while (out.size() - start < size) out.u8(0);
}

uint32_t headerFlags(const Image& image) {
  uint32_t flags = MachO::MH_NOUNDEFS | MachO::MH_DYLDLINK | MachO::MH_TWOLEVEL | MachO::MH_NO_REEXPORTED_DYLIBS;
  bool exportsWeak = std::any_of(image.globals.begin(), image.globals.end(),
                                 [](const GlobalSymbol& g) { return g.exported() && g.weak; });
  if (exportsWeak) flags |= MachO::MH_WEAK_DEFINES;
  if (exportsWeak || !image.weakBinds.empty()) flags |= MachO::MH_BINDS_TO_WEAK;
  return flags;
}

}  // namespace

uint32_t headerAndCommandsSize(const Image& image) {
  uint32_t size = kHeaderSize;
  for (const Segment& s : image.segments) size += kSegmentCommandSize + kSectionSize * uint32_t(s.sections.size());
  size += dylibCommandSize(image.options.installName) + dylibCommandSize(kLibSystemPath);
  size += kDyldInfoSize + kSymtabSize + kDysymtabSize + kUuidSize + kVersionMinSize;
  return size;
}

std::vector<uint8_t> writeDylib(Image& image) {
  Linkedit le = buildLinkedit(image);

  ByteWriter out;
  uint32_t ncmds = uint32_t(image.segments.size()) + kLoadCommandCountBesidesSegments;
  out.u32(MachO::MH_MAGIC);
  out.u32(MachO::CPU_TYPE_I386);
  out.u32(MachO::CPU_SUBTYPE_I386_ALL);
  out.u32(MachO::MH_DYLIB);
  out.u32(ncmds);
  out.u32(image.headerAndCommandsSize - kHeaderSize);
  out.u32(headerFlags(image));

  for (const Segment& seg : image.segments) writeSegment(out, image, seg);
  // Timestamps are fixed values, never the time of the link.
  writeDylibCommand(out, MachO::LC_ID_DYLIB, image.options.installName, 1, image.options.currentVersion,
                    image.options.compatibilityVersion);
  out.u32(MachO::LC_DYLD_INFO_ONLY);
  out.u32(kDyldInfoSize);
  out.u32(le.rebaseOff);
  out.u32(uint32_t(le.rebase.size()));
  out.u32(le.bindOff);
  out.u32(uint32_t(le.bind.size()));
  out.u32(le.weakBindOff);
  out.u32(uint32_t(le.weakBind.size()));
  out.u32(le.lazyBindOff);
  out.u32(uint32_t(le.lazyBind.size()));
  out.u32(le.exportOff);
  out.u32(uint32_t(le.exports.size()));

  const SymbolTables& st = le.symbols;
  out.u32(MachO::LC_SYMTAB);
  out.u32(kSymtabSize);
  out.u32(le.symOff);
  out.u32(st.nlocal + st.nextdef + st.nundef);
  out.u32(le.strOff);
  out.u32(uint32_t(st.strings.size()));

  out.u32(MachO::LC_DYSYMTAB);
  out.u32(kDysymtabSize);
  uint32_t dysym[18] = {0, st.nlocal, st.nlocal, st.nextdef, st.nlocal + st.nextdef, st.nundef, 0, 0, 0, 0, 0, 0,
                        le.indirectOff, st.nindirect, 0, 0, 0, 0};
  for (uint32_t w : dysym) out.u32(w);

  out.u32(MachO::LC_UUID);
  out.u32(kUuidSize);
  size_t uuidAt = out.size();
  for (int i = 0; i < 16; ++i) out.u8(0);

  out.u32(MachO::LC_VERSION_MIN_MACOSX);
  out.u32(kVersionMinSize);
  out.u32(image.options.minVersion);
  out.u32(0);  // SDK: not applicable

  // libSystem's compatibility version 1.0.0 is accepted by every release.
  writeDylibCommand(out, MachO::LC_LOAD_DYLIB, kLibSystemPath, 2, 0x007D0200 /* 125.2.0 */, 0x00010000);

  if (out.size() != image.headerAndCommandsSize) fail("internal error: load command sizes disagree");

  std::vector<uint8_t>& file = out.bytes();
  for (const OutputSection& s : image.sections) {
    if (s.zerofill()) continue;
    if (file.size() < s.fileOffset) file.resize(s.fileOffset, 0);
    if (file.size() != s.fileOffset) fail("internal error: section " + s.sectname + " overlaps what precedes it");
    file.insert(file.end(), s.data.begin(), s.data.end());
  }
  auto blob = [&](uint32_t off, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return;
    if (file.size() < off) file.resize(off, 0);
    if (file.size() != off) fail("internal error: linkedit blobs overlap");
    file.insert(file.end(), bytes.begin(), bytes.end());
    file.resize(alignUp(uint32_t(file.size()), 4), 0);
  };
  if (file.size() > image.segments.back().fileoff) fail("internal error: sections overflow their segments");
  file.resize(image.segments.back().fileoff, 0);
  blob(le.rebaseOff, le.rebase);
  blob(le.bindOff, le.bind);
  blob(le.weakBindOff, le.weakBind);
  blob(le.lazyBindOff, le.lazyBind);
  blob(le.exportOff, le.exports);
  blob(le.symOff, st.nlist);
  blob(le.indirectOff, st.indirect);
  blob(le.strOff, st.strings);
  file.resize(le.end, 0);

  auto uuid = contentUuid(file);
  std::memcpy(file.data() + uuidAt, uuid.data(), uuid.size());
  return std::move(file);
}

}  // namespace torvel::ld
