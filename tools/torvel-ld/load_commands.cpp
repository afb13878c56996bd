#include "load_commands.h"

#include <cstddef>

#include "byte_io.h"
#include "fixup_records.h"
#include "linkedit.h"
#include "macho.h"

namespace torvel::ld {

namespace {

const char* const kLibSystemPath = "/usr/lib/libSystem.B.dylib";

// A command that is one MachO.h structure: its size is the structure's, and
// `fill` sets everything after cmd and cmdsize.
template <class T>
LoadCommand fixedCommand(uint32_t cmd, void (*fill)(T&, const Image&, const Linkedit&)) {
  return {cmd, fileSize<T>(), [cmd, fill](ByteWriter& out, const Image& image, const Linkedit& le) {
            T c{};
            c.cmd = cmd;
            c.cmdsize = fileSize<T>();
            fill(c, image, le);
            appendStruct(out, c);
          }};
}

// LC_SEGMENT: the command, then one section header per section.
LoadCommand segmentCommand(const Image& image, size_t index) {
  const uint32_t nsects = uint32_t(image.segments[index].sections.size());
  const uint32_t size = fileSize<MachO::segment_command>() + fileSize<MachO::section>() * nsects;
  return {MachO::LC_SEGMENT, size, [index, nsects, size](ByteWriter& out, const Image& image, const Linkedit&) {
            const Segment& seg = image.segments[index];
            MachO::segment_command c{};
            c.cmd = MachO::LC_SEGMENT;
            c.cmdsize = size;
            setName16(c.segname, seg.name);
            c.vmaddr = seg.vmaddr;
            c.vmsize = seg.vmsize;
            c.fileoff = seg.fileoff;
            c.filesize = seg.filesize;
            c.maxprot = seg.maxprot;
            c.initprot = seg.initprot;
            c.nsects = nsects;
            appendStruct(out, c);
            const std::vector<bool> textRebased = sectionsWithTextRebases(image);
            for (int i : seg.sections) {
              const OutputSection& s = image.sections[i];
              MachO::section h{};
              setName16(h.sectname, s.sectname);
              setName16(h.segname, s.segname);
              h.addr = s.addr;
              h.size = s.size;
              h.offset = s.zerofill() ? 0 : s.fileOffset;
              h.align = s.align;
              h.flags = s.flags | (textRebased[i] ? uint32_t(MachO::S_ATTR_LOC_RELOC) : 0);
              // no relocations (reloff, nreloc) in a linked image
              h.reserved1 = s.reserved1;
              h.reserved2 = s.reserved2;
              appendStruct(out, h);
            }
          }};
}

// LC_ID_DYLIB, LC_LOAD_DYLIB: the command, then the library's name, NUL
// padded to a multiple of 4 bytes. Timestamps are fixed values, never the
// time of the link.
LoadCommand dylibCommand(uint32_t cmd, const std::string& name, uint32_t timestamp, uint32_t current,
                         uint32_t compatibility) {
  const uint32_t size = alignUp(fileSize<MachO::dylib_command>() + uint32_t(name.size()) + 1, 4);
  return {cmd, size, [=](ByteWriter& out, const Image&, const Linkedit&) {
            MachO::dylib_command c{};
            c.cmd = cmd;
            c.cmdsize = size;
            c.dylib.name = fileSize<MachO::dylib_command>();  // the name follows the command
            c.dylib.timestamp = timestamp;
            c.dylib.current_version = current;
            c.dylib.compatibility_version = compatibility;
            ByteWriter command;
            appendStruct(command, c);
            command.cstr(name);
            while (command.size() < size) command.u8(0);
            out.append(command.bytes());
          }};
}

void fillDyldInfo(MachO::dyld_info_command& c, const Image&, const Linkedit& le) {
  c.rebase_off = le.rebaseOff;
  c.rebase_size = uint32_t(le.rebase.size());
  c.bind_off = le.bindOff;
  c.bind_size = uint32_t(le.bind.size());
  c.weak_bind_off = le.weakBindOff;
  c.weak_bind_size = uint32_t(le.weakBind.size());
  c.lazy_bind_off = le.lazyBindOff;
  c.lazy_bind_size = uint32_t(le.lazyBind.size());
  c.export_off = le.exportOff;
  c.export_size = uint32_t(le.exports.size());
}

void fillSymtab(MachO::symtab_command& c, const Image&, const Linkedit& le) {
  const SymbolTables& st = le.symbols;
  c.symoff = le.symOff;
  c.nsyms = st.nlocal + st.nextdef + st.nundef;
  c.stroff = le.strOff;
  c.strsize = uint32_t(st.strings.size());
}

// No table of contents, module table, external references or classic
// relocations: a dylib with compressed dyld information needs none.
void fillDysymtab(MachO::dysymtab_command& c, const Image&, const Linkedit& le) {
  const SymbolTables& st = le.symbols;
  c.ilocalsym = 0;
  c.nlocalsym = st.nlocal;
  c.iextdefsym = st.nlocal;
  c.nextdefsym = st.nextdef;
  c.iundefsym = st.nlocal + st.nextdef;
  c.nundefsym = st.nundef;
  c.indirectsymoff = le.indirectOff;
  c.nindirectsyms = st.nindirect;
}

// Left zero here; the writer fills it with a hash of the finished file.
void fillUuid(MachO::uuid_command&, const Image&, const Linkedit&) {}

void fillVersionMin(MachO::version_min_command& c, const Image& image, const Linkedit&) {
  c.version = image.options.minVersion;
  c.sdk = 0;  // not applicable
}

}  // namespace

std::vector<LoadCommand> planLoadCommands(const Image& image) {
  std::vector<LoadCommand> commands;
  for (size_t i = 0; i < image.segments.size(); ++i) commands.push_back(segmentCommand(image, i));
  commands.push_back(dylibCommand(MachO::LC_ID_DYLIB, image.options.installName, 1, image.options.currentVersion,
                                  image.options.compatibilityVersion));
  commands.push_back(fixedCommand<MachO::dyld_info_command>(MachO::LC_DYLD_INFO_ONLY, fillDyldInfo));
  commands.push_back(fixedCommand<MachO::symtab_command>(MachO::LC_SYMTAB, fillSymtab));
  commands.push_back(fixedCommand<MachO::dysymtab_command>(MachO::LC_DYSYMTAB, fillDysymtab));
  commands.push_back(fixedCommand<MachO::uuid_command>(MachO::LC_UUID, fillUuid));
  commands.push_back(fixedCommand<MachO::version_min_command>(MachO::LC_VERSION_MIN_MACOSX, fillVersionMin));
  // libSystem's compatibility version 1.0.0 is accepted by every release.
  commands.push_back(dylibCommand(MachO::LC_LOAD_DYLIB, kLibSystemPath, 2, 0x007D0200 /* 125.2.0 */, 0x00010000));
  return commands;
}

uint32_t headerAndCommandsSize(const std::vector<LoadCommand>& commands) {
  uint32_t size = fileSize<MachO::mach_header>();
  for (const LoadCommand& c : commands) size += c.size;
  return size;
}

}  // namespace torvel::ld
