#include "macho_writer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "byte_io.h"
#include "content_uuid.h"
#include "diagnostics.h"
#include "linkedit.h"
#include "load_commands.h"
#include "macho.h"

namespace torvel::ld {

namespace {

uint32_t headerFlags(const Image& image) {
  uint32_t flags = MachO::MH_NOUNDEFS | MachO::MH_DYLDLINK | MachO::MH_TWOLEVEL | MachO::MH_NO_REEXPORTED_DYLIBS;
  bool exportsWeak = std::any_of(image.globals.begin(), image.globals.end(),
                                 [](const GlobalSymbol& g) { return g.exported() && g.weak; });
  if (exportsWeak) flags |= MachO::MH_WEAK_DEFINES;
  if (exportsWeak || !image.weakBinds.empty()) flags |= MachO::MH_BINDS_TO_WEAK;
  return flags;
}

}  // namespace

std::vector<uint8_t> writeDylib(Image& image) {
  const Linkedit le = buildLinkedit(image);

  ByteWriter out;
  MachO::mach_header header{};
  header.magic = MachO::MH_MAGIC;
  header.cputype = MachO::CPU_TYPE_I386;
  header.cpusubtype = MachO::CPU_SUBTYPE_I386_ALL;
  header.filetype = MachO::MH_DYLIB;
  header.ncmds = uint32_t(image.loadCommands.size());
  header.sizeofcmds = headerAndCommandsSize(image.loadCommands) - fileSize<MachO::mach_header>();
  header.flags = headerFlags(image);
  appendStruct(out, header);

  size_t uuidAt = 0;
  for (const LoadCommand& command : image.loadCommands) {
    if (command.cmd == MachO::LC_UUID) uuidAt = out.size() + offsetof(MachO::uuid_command, uuid);
    const size_t start = out.size();
    command.write(out, image, le);
    // The header and the section offsets were laid out from the planned size.
    if (out.size() - start != command.size) fail("internal error: load command sizes disagree");
  }

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
  const SymbolTables& st = le.symbols;
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
