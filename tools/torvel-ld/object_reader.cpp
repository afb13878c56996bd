// Reads i386 MH_OBJECT files. Every offset and count taken from the file is
// checked against the file size before it is used, so truncated or corrupt
// objects end in a LinkError instead of a read out of bounds.
#include <fstream>
#include <iterator>

#include "byte_io.h"
#include "diagnostics.h"
#include "macho.h"
#include "object_file.h"

namespace torvel::ld {

uint32_t InputSection::type() const { return flags & MachO::SECTION_TYPE; }

bool InputSection::zerofill() const {
  return type() == MachO::S_ZEROFILL || type() == MachO::S_GB_ZEROFILL ||
         type() == MachO::S_THREAD_LOCAL_ZEROFILL;
}

bool InputSymbol::external() const { return (type & MachO::N_EXT) != 0; }
bool InputSymbol::privateExtern() const { return (type & MachO::N_PEXT) != 0; }
bool InputSymbol::debug() const { return (type & MachO::N_STAB) != 0; }
bool InputSymbol::undefined() const {
  return !debug() && (type & MachO::N_TYPE) == MachO::N_UNDF && value == 0;
}
bool InputSymbol::common() const {
  return !debug() && (type & MachO::N_TYPE) == MachO::N_UNDF && external() && value != 0;
}
bool InputSymbol::inSection() const { return !debug() && (type & MachO::N_TYPE) == MachO::N_SECT; }
bool InputSymbol::absolute() const { return !debug() && (type & MachO::N_TYPE) == MachO::N_ABS; }
bool InputSymbol::weakDefinition() const { return (desc & MachO::N_WEAK_DEF) != 0; }
bool InputSymbol::weakReference() const { return (desc & MachO::N_WEAK_REF) != 0; }

namespace {

class Reader {
 public:
  Reader(const std::string& path, std::span<const uint8_t> bytes) : path_(path), bytes_(bytes) {}

  [[noreturn]] void bad(const std::string& what) const { fail(path_ + ": malformed object: " + what); }

  void need(uint64_t offset, uint64_t size, const char* what) const {
    if (offset > bytes_.size() || size > bytes_.size() - offset)
      bad(std::string(what) + " extends past the end of the file (offset " + std::to_string(offset) +
          ", size " + std::to_string(size) + ", file size " + std::to_string(bytes_.size()) + ")");
  }
  // One of MachO.h's structures at `offset`.
  template <class T>
  T record(uint64_t offset) const {
    need(offset, fileSize<T>(), "field");
    return loadStruct<T>(bytes_.data() + offset);
  }
  std::span<const uint8_t> slice(uint64_t offset, uint64_t size, const char* what) const {
    need(offset, size, what);
    return bytes_.subspan(offset, size);
  }
  size_t size() const { return bytes_.size(); }

 private:
  const std::string& path_;
  std::span<const uint8_t> bytes_;
};

Relocation decodeRelocation(uint32_t w0, uint32_t w1) {
  Relocation r;
  if (w0 & MachO::R_SCATTERED) {
    r.scattered = true;
    r.address = w0 & 0x00FFFFFF;
    r.type = (w0 >> 24) & 0xF;
    r.length = (w0 >> 28) & 0x3;
    r.pcrel = (w0 >> 30) & 0x1;
    r.value = w1;
  } else {
    r.address = w0;
    r.symbolnum = w1 & 0x00FFFFFF;
    r.pcrel = (w1 >> 24) & 0x1;
    r.length = (w1 >> 25) & 0x3;
    r.external = (w1 >> 27) & 0x1;
    r.type = (w1 >> 28) & 0xF;
  }
  return r;
}

void readSegment(const Reader& in, uint64_t cmd, uint32_t cmdsize, ObjectFile& obj) {
  if (cmdsize < fileSize<MachO::segment_command>()) in.bad("LC_SEGMENT command too small");
  const auto seg = in.record<MachO::segment_command>(cmd);
  if (uint64_t(seg.nsects) * fileSize<MachO::section>() + fileSize<MachO::segment_command>() > cmdsize)
    in.bad("LC_SEGMENT lists " + std::to_string(seg.nsects) + " sections that do not fit in its command");
  for (uint32_t i = 0; i < seg.nsects; ++i) {
    const auto h = in.record<MachO::section>(cmd + fileSize<MachO::segment_command>() +
                                             uint64_t(i) * fileSize<MachO::section>());
    InputSection sec;
    sec.sectname = name16(h.sectname);
    sec.segname = name16(h.segname);
    sec.addr = h.addr;
    sec.size = h.size;
    sec.align = h.align;
    sec.flags = h.flags;
    sec.reserved1 = h.reserved1;
    sec.reserved2 = h.reserved2;
    std::string where = "section " + sec.displayName();
    if (sec.align > 15) in.bad(where + " has alignment 2^" + std::to_string(sec.align));
    if (uint64_t(sec.addr) + sec.size > 0xFFFFFFFFull) in.bad(where + " wraps the address space");
    if (!sec.zerofill()) {
      auto bytes = in.slice(h.offset, sec.size, (where + " contents").c_str());
      sec.data.assign(bytes.begin(), bytes.end());
    }
    auto relocBytes = in.slice(h.reloff, uint64_t(h.nreloc) * 8, (where + " relocations").c_str());
    for (uint32_t r = 0; r < h.nreloc; ++r) {
      Relocation rel = decodeRelocation(read32(relocBytes.data() + 8 * r), read32(relocBytes.data() + 8 * r + 4));
      sec.relocs.push_back(rel);
    }
    obj.sections.push_back(std::move(sec));
  }
}

void readSymbols(const Reader& in, uint64_t cmd, uint32_t cmdsize, ObjectFile& obj) {
  if (cmdsize < fileSize<MachO::symtab_command>()) in.bad("LC_SYMTAB command too small");
  const auto symtab = in.record<MachO::symtab_command>(cmd);
  const uint32_t strsize = symtab.strsize;
  auto syms = in.slice(symtab.symoff, uint64_t(symtab.nsyms) * fileSize<MachO::nlist>(), "symbol table");
  auto strings = in.slice(symtab.stroff, strsize, "string table");
  for (uint32_t i = 0; i < symtab.nsyms; ++i) {
    const auto n = loadStruct<MachO::nlist>(syms.data() + uint64_t(i) * fileSize<MachO::nlist>());
    InputSymbol sym;
    uint32_t strx = n.n_strx;
    sym.type = n.n_type;
    sym.sect = n.n_sect;
    sym.desc = uint16_t(n.n_desc);
    sym.value = n.n_value;
    if (strx >= strsize && !(strx == 0 && strsize == 0))
      in.bad("symbol " + std::to_string(i) + " has name offset " + std::to_string(strx) +
             " outside the string table");
    for (uint32_t k = strx; k < strsize && strings[k] != 0; ++k) sym.name += char(strings[k]);
    if (strx < strsize) {
      uint32_t end = strx + uint32_t(sym.name.size());
      if (end >= strsize) in.bad("name of symbol " + std::to_string(i) + " is not NUL-terminated");
    }
    obj.symbols.push_back(std::move(sym));
  }
}

void readIndirectSymbols(const Reader& in, uint64_t cmd, uint32_t cmdsize, ObjectFile& obj) {
  if (cmdsize < fileSize<MachO::dysymtab_command>()) in.bad("LC_DYSYMTAB command too small");
  const auto dysymtab = in.record<MachO::dysymtab_command>(cmd);
  auto table = in.slice(dysymtab.indirectsymoff, uint64_t(dysymtab.nindirectsyms) * 4, "indirect symbol table");
  for (uint32_t i = 0; i < dysymtab.nindirectsyms; ++i) obj.indirectSymbols.push_back(read32(table.data() + 4 * i));
}

void checkSymbols(const Reader& in, const ObjectFile& obj) {
  for (size_t i = 0; i < obj.symbols.size(); ++i) {
    const InputSymbol& sym = obj.symbols[i];
    if (sym.debug()) continue;
    uint8_t kind = sym.type & MachO::N_TYPE;
    if (kind == MachO::N_INDR)
      fail(obj.path + ": symbol " + sym.name + " is an indirect (N_INDR) symbol, which is not supported");
    if (kind == MachO::N_PBUD)
      fail(obj.path + ": symbol " + sym.name + " is a prebound undefined symbol, which is not supported");
    if (kind == MachO::N_SECT) {
      if (sym.sect == 0 || sym.sect > obj.sections.size())
        in.bad("symbol " + sym.name + " names section " + std::to_string(sym.sect) + " of " +
               std::to_string(obj.sections.size()));
      const InputSection& sec = obj.sections[sym.sect - 1];
      if (sym.value < sec.addr || sym.value - sec.addr > sec.size)
        in.bad("symbol " + sym.name + " at " + hex(sym.value) + " lies outside its section " + sec.displayName());
    } else if (kind != MachO::N_UNDF && kind != MachO::N_ABS) {
      in.bad("symbol " + sym.name + " has unknown type " + hex(sym.type));
    }
    if (kind == MachO::N_UNDF && sym.value != 0 && !sym.external())
      in.bad("symbol " + sym.name + " is a common symbol that is not external");
  }
}

}  // namespace

ObjectFile parseObject(const std::string& path, std::span<const uint8_t> bytes) {
  Reader in(path, bytes);
  const uint32_t headerSize = fileSize<MachO::mach_header>();
  if (bytes.size() < headerSize) in.bad("file is shorter than a Mach-O header");
  const auto header = in.record<MachO::mach_header>(0);
  const uint32_t magic = header.magic;
  if (magic == MachO::MH_MAGIC_64 || magic == MachO::MH_CIGAM_64)
    fail(path + ": is a 64-bit Mach-O file; only i386 objects can be linked");
  if (magic == MachO::FAT_MAGIC || magic == MachO::FAT_CIGAM)
    fail(path + ": is a universal (fat) file; pass the i386 object itself");
  if (magic != MachO::MH_MAGIC) fail(path + ": is not a Mach-O object (magic " + hex(magic) + ")");
  if (header.cputype != MachO::CPU_TYPE_I386) fail(path + ": is not an i386 object (cputype " + hex(header.cputype) + ")");
  if (header.filetype != MachO::MH_OBJECT)
    fail(path + ": is not an object file (filetype " + std::to_string(header.filetype) + ")");
  const uint32_t ncmds = header.ncmds, sizeofcmds = header.sizeofcmds;
  in.need(headerSize, sizeofcmds, "load commands");

  ObjectFile obj;
  obj.path = path;
  bool sawSegment = false, sawSymtab = false;
  uint64_t cmd = headerSize;
  const uint64_t end = uint64_t(headerSize) + sizeofcmds;
  for (uint32_t i = 0; i < ncmds; ++i) {
    if (cmd + 8 > end) in.bad("load command " + std::to_string(i) + " starts past the load command area");
    const auto lc = in.record<MachO::load_command>(cmd);
    const uint32_t kind = lc.cmd, cmdsize = lc.cmdsize;
    if (cmdsize < 8 || cmdsize % 4 != 0 || cmd + cmdsize > end)
      in.bad("load command " + std::to_string(i) + " has size " + std::to_string(cmdsize));
    switch (kind) {
      case MachO::LC_SEGMENT:
        if (sawSegment) in.bad("more than one LC_SEGMENT");
        sawSegment = true;
        readSegment(in, cmd, cmdsize, obj);
        break;
      case MachO::LC_SEGMENT_64:
        in.bad("LC_SEGMENT_64 in a 32-bit object");
      case MachO::LC_SYMTAB:
        if (sawSymtab) in.bad("more than one LC_SYMTAB");
        sawSymtab = true;
        readSymbols(in, cmd, cmdsize, obj);
        break;
      case MachO::LC_DYSYMTAB:
        readIndirectSymbols(in, cmd, cmdsize, obj);
        break;
      default:
        break;  // version, data-in-code and linker-option commands carry nothing the link needs
    }
    cmd += cmdsize;
  }
  checkSymbols(in, obj);
  return obj;
}

std::vector<uint8_t> readWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) fail(path + ": cannot open");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) fail(path + ": read error");
  return bytes;
}

ObjectFile loadObject(const std::string& path) {
  std::vector<uint8_t> bytes = readWholeFile(path);
  return parseObject(path, bytes);
}

}  // namespace torvel::ld
