#include "symbol_table.h"

#include <algorithm>

#include "address_map.h"
#include "byte_io.h"
#include "diagnostics.h"
#include "macho.h"

namespace torvel::ld {

namespace {

class Builder {
 public:
  Builder() { strings_.cstr(" "); }

  void add(const std::string& name, uint8_t type, uint8_t sect, uint16_t desc, uint32_t value) {
    MachO::nlist entry{};
    entry.n_strx = uint32_t(strings_.size());
    entry.n_type = type;
    entry.n_sect = sect;
    entry.n_desc = int16_t(desc);
    entry.n_value = value;
    appendStruct(nlist_, entry);
    strings_.cstr(name);
    ++count_;
  }
  uint32_t count() const { return count_; }
  ByteWriter nlist_, strings_;

 private:
  uint32_t count_ = 0;
};

uint8_t sectionOrdinal(const Image& image, uint32_t address, bool absolute) {
  if (absolute) return 0;
  int s = outputSectionAt(image, address);
  if (s < 0) {
    // A label just past the end of its section.
    for (size_t i = 0; i < image.sections.size(); ++i)
      if (image.sections[i].addr + image.sections[i].size == address) return uint8_t(image.sections[i].ordinal);
    return 0;
  }
  return uint8_t(image.sections[s].ordinal);
}

bool keptLocal(const Image& image, size_t o, const InputSymbol& sym) {
  if (sym.debug() || sym.external() || !sym.inSection() || sym.name.empty()) return false;
  if (sym.name[0] == 'l' || sym.name[0] == 'L') return false;  // assembler-private labels
  return image.placements[o][sym.sect - 1].output >= 0;
}

}  // namespace

SymbolTables buildSymbolTables(Image& image) {
  Builder b;
  for (size_t o = 0; o < image.objects.size(); ++o) {
    const ObjectFile& obj = image.objects[o];
    for (size_t s = 0; s < obj.symbols.size(); ++s) {
      const InputSymbol& sym = obj.symbols[s];
      if (!keptLocal(image, o, sym)) continue;
      uint32_t addr = symbolAddress(image, int(o), uint32_t(s));
      b.add(sym.name, MachO::N_SECT, sectionOrdinal(image, addr, false), 0, addr);
    }
  }
  std::vector<int> hidden, exported, imports;
  for (size_t g = 0; g < image.globals.size(); ++g) {
    const GlobalSymbol& sym = image.globals[g];
    if (sym.kind == GlobalSymbol::Kind::Import)
      imports.push_back(int(g));
    else if (sym.kind == GlobalSymbol::Kind::DsoHandle)
      continue;
    else
      (sym.hidden ? hidden : exported).push_back(int(g));
  }
  auto byName = [&](int a, int c) { return image.globals[a].name < image.globals[c].name; };
  std::sort(hidden.begin(), hidden.end(), byName);
  std::sort(exported.begin(), exported.end(), byName);
  std::sort(imports.begin(), imports.end(), byName);

  for (int g : hidden) {
    GlobalSymbol& sym = image.globals[g];
    uint32_t addr = globalAddress(image, g);
    uint8_t type = uint8_t(uint32_t(sym.absolute ? MachO::N_ABS : MachO::N_SECT) | MachO::N_PEXT);
    sym.outputIndex = int(b.count());
    b.add(sym.name, type, sectionOrdinal(image, addr, sym.absolute), 0, addr);
  }
  SymbolTables t;
  t.nlocal = b.count();
  for (int g : exported) {
    GlobalSymbol& sym = image.globals[g];
    uint32_t addr = globalAddress(image, g);
    uint8_t type = uint8_t(uint32_t(sym.absolute ? MachO::N_ABS : MachO::N_SECT) | MachO::N_EXT);
    sym.outputIndex = int(b.count());
    b.add(sym.name, type, sectionOrdinal(image, addr, sym.absolute), sym.weak ? MachO::N_WEAK_DEF : 0, addr);
  }
  t.nextdef = b.count() - t.nlocal;
  for (int g : imports) {
    GlobalSymbol& sym = image.globals[g];
    uint16_t desc = uint16_t(1 << 8);  // library ordinal 1: libSystem
    if (image.stubOfGlobal.count(g)) desc |= MachO::REFERENCE_FLAG_UNDEFINED_LAZY;
    if (sym.weakImport) desc |= MachO::N_WEAK_REF;
    sym.outputIndex = int(b.count());
    b.add(sym.name, uint8_t(uint32_t(MachO::N_UNDF) | MachO::N_EXT), 0, desc, 0);
  }
  t.nundef = b.count() - t.nlocal - t.nextdef;

  // Indirect table: stubs, then non-lazy pointers, then lazy pointers, as
  // layout numbered them in each section's reserved1.
  ByteWriter ind;
  auto refIndex = [&](const IndirectRef& ref) -> uint32_t {
    if (ref.kind == IndirectRef::Kind::Absolute) return MachO::INDIRECT_SYMBOL_ABS;
    if (ref.kind == IndirectRef::Kind::Local || image.globals[ref.global].hidden) return MachO::INDIRECT_SYMBOL_LOCAL;
    return uint32_t(image.globals[ref.global].outputIndex);
  };
  // Each section's entries must start where layout numbered them.
  auto startsHere = [&](const char* seg, const char* sect) {
    int s = image.findSection(seg, sect);
    if (s >= 0 && image.sections[s].reserved1 != ind.size() / 4)
      fail(std::string("internal error: indirect entries of ") + sect + " out of place");
  };
  startsHere("__TEXT", "__symbol_stub");
  for (const Stub& st : image.stubs) ind.u32(refIndex({IndirectRef::Kind::Global, st.global}));
  startsHere("__DATA", "__nl_symbol_ptr");
  for (const IndirectRef& ref : image.nlSlots) ind.u32(refIndex(ref));
  startsHere("__DATA", "__la_symbol_ptr");
  for (const Stub& st : image.stubs) ind.u32(refIndex({IndirectRef::Kind::Global, st.global}));
  t.nindirect = uint32_t(ind.size() / 4);

  b.strings_.padTo(4);
  t.nlist = std::move(b.nlist_.bytes());
  t.strings = std::move(b.strings_.bytes());
  t.indirect = std::move(ind.bytes());
  return t;
}

std::vector<ExportEntry> exportedSymbols(const Image& image) {
  std::vector<ExportEntry> entries;
  for (size_t g = 0; g < image.globals.size(); ++g) {
    const GlobalSymbol& sym = image.globals[g];
    if (!sym.exported()) continue;
    ExportEntry e;
    e.name = sym.name;
    e.flags = sym.absolute ? MachO::EXPORT_SYMBOL_FLAGS_KIND_ABSOLUTE : MachO::EXPORT_SYMBOL_FLAGS_KIND_REGULAR;
    if (sym.weak) e.flags |= MachO::EXPORT_SYMBOL_FLAGS_WEAK_DEFINITION;
    e.address = globalAddress(image, int(g)) - image.segments[0].vmaddr;
    entries.push_back(e);
  }
  return entries;
}

}  // namespace torvel::ld
