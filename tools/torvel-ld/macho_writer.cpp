#include "macho_writer.h"

#include <algorithm>
#include <cstddef>
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

uint32_t dylibCommandSize(const std::string& name) {
  return alignUp(fileSize<MachO::dylib_command>() + uint32_t(name.size()) + 1, 4);
}

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

uint32_t segmentCommandSize(const Segment& seg) {
  return fileSize<MachO::segment_command>() + fileSize<MachO::section>() * uint32_t(seg.sections.size());
}

void writeSegment(ByteWriter& out, const Image& image, const Segment& seg) {
  MachO::segment_command c{};
  c.cmd = MachO::LC_SEGMENT;
  c.cmdsize = segmentCommandSize(seg);
  setName16(c.segname, seg.name);
  c.vmaddr = seg.vmaddr;
  c.vmsize = seg.vmsize;
  c.fileoff = seg.fileoff;
  c.filesize = seg.filesize;
  c.maxprot = seg.maxprot;
  c.initprot = seg.initprot;
  c.nsects = uint32_t(seg.sections.size());
  appendStruct(out, c);
  for (int i : seg.sections) {
    const OutputSection& s = image.sections[i];
    MachO::section h{};
    setName16(h.sectname, s.sectname);
    setName16(h.segname, s.segname);
    h.addr = s.addr;
    h.size = s.size;
    h.offset = s.zerofill() ? 0 : s.fileOffset;
    h.align = s.align;
    // no relocations in a linked image
    h.flags = s.flags;
    h.reserved1 = s.reserved1;
    h.reserved2 = s.reserved2;
    appendStruct(out, h);
  }
}

void writeDylibCommand(ByteWriter& out, uint32_t cmd, const std::string& name, uint32_t timestamp, uint32_t current,
                       uint32_t compatibility) {
  MachO::dylib_command c{};
  c.cmd = cmd;
  c.cmdsize = dylibCommandSize(name);
  c.dylib.name = fileSize<MachO::dylib_command>();  // the name follows the command
  c.dylib.timestamp = timestamp;
  c.dylib.current_version = current;
  c.dylib.compatibility_version = compatibility;
  size_t start = out.size();
  appendStruct(out, c);
  out.cstr(name);
  while (out.size() - start < c.cmdsize) out.u8(0);
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
  uint32_t size = fileSize<MachO::mach_header>();
  for (const Segment& s : image.segments) size += segmentCommandSize(s);
  size += dylibCommandSize(image.options.installName) + dylibCommandSize(kLibSystemPath);
  size += fileSize<MachO::dyld_info_command>() + fileSize<MachO::symtab_command>() +
          fileSize<MachO::dysymtab_command>() + fileSize<MachO::uuid_command>() +
          fileSize<MachO::version_min_command>();
  return size;
}

std::vector<uint8_t> writeDylib(Image& image) {
  Linkedit le = buildLinkedit(image);

  ByteWriter out;
  MachO::mach_header header{};
  header.magic = MachO::MH_MAGIC;
  header.cputype = MachO::CPU_TYPE_I386;
  header.cpusubtype = MachO::CPU_SUBTYPE_I386_ALL;
  header.filetype = MachO::MH_DYLIB;
  header.ncmds = uint32_t(image.segments.size()) + kLoadCommandCountBesidesSegments;
  header.sizeofcmds = image.headerAndCommandsSize - fileSize<MachO::mach_header>();
  header.flags = headerFlags(image);
  appendStruct(out, header);

  for (const Segment& seg : image.segments) writeSegment(out, image, seg);
  // Timestamps are fixed values, never the time of the link.
  writeDylibCommand(out, MachO::LC_ID_DYLIB, image.options.installName, 1, image.options.currentVersion,
                    image.options.compatibilityVersion);

  MachO::dyld_info_command info{};
  info.cmd = MachO::LC_DYLD_INFO_ONLY;
  info.cmdsize = fileSize<MachO::dyld_info_command>();
  info.rebase_off = le.rebaseOff;
  info.rebase_size = uint32_t(le.rebase.size());
  info.bind_off = le.bindOff;
  info.bind_size = uint32_t(le.bind.size());
  info.weak_bind_off = le.weakBindOff;
  info.weak_bind_size = uint32_t(le.weakBind.size());
  info.lazy_bind_off = le.lazyBindOff;
  info.lazy_bind_size = uint32_t(le.lazyBind.size());
  info.export_off = le.exportOff;
  info.export_size = uint32_t(le.exports.size());
  appendStruct(out, info);

  const SymbolTables& st = le.symbols;
  MachO::symtab_command symtab{};
  symtab.cmd = MachO::LC_SYMTAB;
  symtab.cmdsize = fileSize<MachO::symtab_command>();
  symtab.symoff = le.symOff;
  symtab.nsyms = st.nlocal + st.nextdef + st.nundef;
  symtab.stroff = le.strOff;
  symtab.strsize = uint32_t(st.strings.size());
  appendStruct(out, symtab);

  // No table of contents, module table, external references or classic
  // relocations: a dylib with compressed dyld information needs none.
  MachO::dysymtab_command dysymtab{};
  dysymtab.cmd = MachO::LC_DYSYMTAB;
  dysymtab.cmdsize = fileSize<MachO::dysymtab_command>();
  dysymtab.ilocalsym = 0;
  dysymtab.nlocalsym = st.nlocal;
  dysymtab.iextdefsym = st.nlocal;
  dysymtab.nextdefsym = st.nextdef;
  dysymtab.iundefsym = st.nlocal + st.nextdef;
  dysymtab.nundefsym = st.nundef;
  dysymtab.indirectsymoff = le.indirectOff;
  dysymtab.nindirectsyms = st.nindirect;
  appendStruct(out, dysymtab);

  MachO::uuid_command uuidCommand{};
  uuidCommand.cmd = MachO::LC_UUID;
  uuidCommand.cmdsize = fileSize<MachO::uuid_command>();
  size_t uuidAt = out.size() + offsetof(MachO::uuid_command, uuid);  // filled in from the finished file
  appendStruct(out, uuidCommand);

  MachO::version_min_command version{};
  version.cmd = MachO::LC_VERSION_MIN_MACOSX;
  version.cmdsize = fileSize<MachO::version_min_command>();
  version.version = image.options.minVersion;
  version.sdk = 0;  // not applicable
  appendStruct(out, version);

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
