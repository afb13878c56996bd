#include "relocation.h"

#include "address_map.h"
#include "byte_io.h"
#include "diagnostics.h"
#include "fixup_records.h"
#include "macho.h"
#include "relocation_kinds.h"
#include "stub_code.h"

namespace torvel::ld {

namespace {

class SectionFixer {
 public:
  SectionFixer(Image& image, int obj, int sect)
      : image_(image),
        o_(obj),
        objFile_(image.objects[obj]),
        in_(objFile_.sections[sect]),
        base_(inputSectionAddress(image, obj, sect)) {}

  void run() {
    if (!in_.relocs.empty() && in_.zerofill()) bad(in_.relocs[0], "relocation in a zero-fill section");
    for (size_t i = 0; i < in_.relocs.size(); ++i) {
      const Relocation& r = in_.relocs[i];
      if (uint64_t(r.address) + r.width() > in_.size) bad(r, "relocated field lies outside the section");
      const RelocationKind& kind = checkedKind(r);
      if (kind.needsPair) {
        if (i + 1 >= in_.relocs.size() || in_.relocs[i + 1].type != MachO::GENERIC_RELOC_PAIR ||
            !in_.relocs[i + 1].scattered)
          bad(r, std::string(kind.what) + " without its PAIR entry");
        ++i;
      }
      switch (kind.action) {
        case RelocationKind::Action::SectionDifference:
          sectionDifference(r, kind, in_.relocs[i]);
          break;
        case RelocationKind::Action::Address:
          if (r.scattered)
            scatteredAddress(r, kind);
          else if (r.external)
            externalAddress(r);
          else
            localAddress(r);
          break;
        case RelocationKind::Action::Refuse:
          break;  // checkedKind has refused it
      }
    }
  }

 private:
  [[noreturn]] void bad(const Relocation& r, const std::string& why) const {
    fail(objFile_.path + ": relocation at offset " + hex(r.address) + " in section " + in_.displayName() + ": " +
         why);
  }

  // The table's row for r, once r has the form that row allows.
  const RelocationKind& checkedKind(const Relocation& r) const {
    const RelocationKind* kind = relocationKind(r.type);
    if (kind == nullptr) bad(r, "unknown relocation type " + std::to_string(r.type));
    if (kind->action == RelocationKind::Action::Refuse) bad(r, kind->refusal);
    if (kind->scatteredOnly && !r.scattered) bad(r, std::string(kind->what) + " that is not a scattered relocation");
    if (r.pcrel && !kind->mayBePcRelative) bad(r, "pc-relative " + std::string(kind->what));
    return *kind;
  }

  uint32_t fieldObjAddr(const Relocation& r) const { return in_.addr + r.address; }
  uint32_t fieldFinal(const Relocation& r) const { return base_ + r.address; }
  std::string context(const Relocation& r) const { return "relocation at " + hex(fieldObjAddr(r)); }

  int32_t readStored(const Relocation& r) const {
    const uint8_t* p = in_.data.data() + r.address;
    switch (r.length) {
      case 0: return int8_t(p[0]);
      case 1: return int16_t(read16(p));
      case 2: return int32_t(read32(p));
      default: bad(r, "8-byte relocated fields do not exist on i386");
    }
  }

  void writeField(const Relocation& r, int64_t value) {
    uint8_t* p = bytesAt(image_, fieldFinal(r), r.width());
    switch (r.length) {
      case 0:
        if (value < -128 || value > 255) bad(r, "value does not fit in a 1-byte field");
        p[0] = uint8_t(value);
        return;
      case 1:
        if (value < -32768 || value > 65535) bad(r, "value does not fit in a 2-byte field");
        write16(p, uint16_t(value));
        return;
      default:
        write32(p, uint32_t(value));
    }
  }

  void needPointerWidth(const Relocation& r, const char* what) const {
    if (r.length != 2) bad(r, std::string(what) + " must be 4 bytes wide");
  }

  void rebaseField(const Relocation& r) { addRebase(image_, fieldFinal(r)); }

  // The symbol a non-scattered external relocation names, resolved.
  void externalAddress(const Relocation& r) {
    if (r.symbolnum >= objFile_.symbols.size()) bad(r, "symbol index " + std::to_string(r.symbolnum) + " out of range");
    const InputSymbol& sym = objFile_.symbols[r.symbolnum];
    int g = image_.objectGlobals[o_][r.symbolnum];
    int32_t stored = readStored(r);
    if (r.pcrel) {
      needPointerWidth(r, "a pc-relative reference to a symbol");
      uint32_t next = fieldObjAddr(r) + 4;
      int32_t addend = int32_t(uint32_t(stored) + next);
      uint32_t target;
      if (g >= 0 && image_.stubOfGlobal.count(g)) {
        if (addend != 0) bad(r, "pc-relative reference with an addend to " + sym.name + ", which is reached through a stub");
        target = image_.sections[image_.findSection("__TEXT", "__symbol_stub")].addr +
                 uint32_t(image_.stubOfGlobal.at(g)) * kStubSize;
      } else if (g >= 0) {
        target = globalAddress(image_, g) + uint32_t(addend);
      } else {
        target = localTarget(r, sym) + uint32_t(addend);
      }
      writeField(r, int32_t(target - (fieldFinal(r) + 4)));
      return;
    }
    needPointerWidth(r, "an absolute reference to a symbol");
    if (g >= 0) {
      writePointerTo(image_, fieldFinal(r), g, stored, objFile_.path + ": " + context(r));
      return;
    }
    writeField(r, int64_t(localTarget(r, sym)) + stored);
    if (!sym.absolute()) rebaseField(r);
  }

  uint32_t localTarget(const Relocation& r, const InputSymbol& sym) const {
    if (!sym.inSection() && !sym.absolute()) bad(r, "reference to local symbol " + sym.name + ", which is undefined");
    return symbolAddress(image_, o_, r.symbolnum);
  }

  // The stored value is an object-space address in section r.symbolnum.
  void localAddress(const Relocation& r) {
    if (r.symbolnum == MachO::R_ABS) return;
    if (r.symbolnum > objFile_.sections.size()) bad(r, "section number " + std::to_string(r.symbolnum) + " out of range");
    int ts = int(r.symbolnum) - 1;
    uint32_t moved = inputSectionAddress(image_, o_, ts) - objFile_.sections[ts].addr;
    int32_t stored = readStored(r);
    if (r.pcrel) {
      uint32_t target = fieldObjAddr(r) + r.width() + uint32_t(stored);
      int64_t rel = int32_t(target + moved - (fieldFinal(r) + r.width()));
      writeField(r, rel);
      return;
    }
    needPointerWidth(r, "an absolute address");
    writeField(r, int64_t(uint32_t(stored) + moved));
    rebaseField(r);
  }

  // How far the object-space address `addr` that a scattered entry of this
  // kind gives moves.
  uint32_t movedBy(const RelocationKind& kind, uint32_t addr, const Relocation& r) const {
    return kind.addressNamesDefinition ? referenceDisplacement(image_, o_, addr, context(r))
                                       : displacement(image_, o_, addr, context(r));
  }

  // r.value names the target's base; the stored value may point beside it.
  void scatteredAddress(const Relocation& r, const RelocationKind& kind) {
    uint32_t moved = movedBy(kind, r.value, r);
    int32_t stored = readStored(r);
    if (r.pcrel) {
      uint32_t target = fieldObjAddr(r) + r.width() + uint32_t(stored);
      writeField(r, int32_t(target + moved - (fieldFinal(r) + r.width())));
      return;
    }
    needPointerWidth(r, "an absolute address");
    writeField(r, int64_t(uint32_t(stored) + moved));
    rebaseField(r);
  }

  // The field holds A - B + stored offset: A from r, B from its PAIR entry.
  void sectionDifference(const Relocation& r, const RelocationKind& kind, const Relocation& pair) {
    if (r.length != 2 && r.length != 1) bad(r, std::string(kind.what) + " must be 2 or 4 bytes wide");
    uint32_t movedA = movedBy(kind, r.value, r);
    uint32_t movedB = displacement(image_, o_, pair.value, context(r));
    int32_t stored = readStored(r);
    int64_t value = r.length == 2 ? int64_t(int32_t(uint32_t(stored) + movedA - movedB))
                                  : int64_t(stored) + int64_t(int32_t(movedA - movedB));
    writeField(r, value);
  }

  Image& image_;
  int o_;
  const ObjectFile& objFile_;
  const InputSection& in_;
  uint32_t base_;
};

// Fills the slots of an object's non-lazy pointer section: each slot's
// indirect-table entry names the symbol (bound or rebased) or marks it local.
void fillPointerSlots(Image& image, int o, int s) {
  const ObjectFile& obj = image.objects[o];
  const InputSection& in = obj.sections[s];
  auto bad = [&](const std::string& why) {
    fail(obj.path + ": non-lazy pointer section " + in.displayName() + ": " + why);
  };
  if (!in.relocs.empty()) bad("relocations on pointer slots are not supported");
  uint32_t count = in.size / kPointerSize;
  if (uint64_t(in.reserved1) + count > obj.indirectSymbols.size())
    bad("slots run past the end of the indirect symbol table");
  uint32_t base = inputSectionAddress(image, o, s);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t slot = base + i * kPointerSize;
    uint32_t entry = obj.indirectSymbols[in.reserved1 + i];
    if (entry & MachO::INDIRECT_SYMBOL_ABS) {
      image.nlSlots.push_back({IndirectRef::Kind::Absolute, -1});
      continue;
    }
    if (entry & MachO::INDIRECT_SYMBOL_LOCAL) {
      uint32_t stored = read32(in.data.data() + i * kPointerSize);
      uint32_t moved = displacement(image, o, stored, "local pointer slot " + std::to_string(i));
      write32(bytesAt(image, slot, 4), stored + moved);
      addRebase(image, slot);
      image.nlSlots.push_back({IndirectRef::Kind::Local, -1});
      continue;
    }
    if (entry >= obj.symbols.size()) bad("slot " + std::to_string(i) + " names symbol " + std::to_string(entry) + " out of range");
    int g = image.objectGlobals[o][entry];
    if (g >= 0) {
      writePointerTo(image, slot, g, 0, obj.path + ": pointer slot " + std::to_string(i));
      // Only slots dyld fills by name (imports, and exported weak definitions,
      // which weak binding may point elsewhere) name their symbol; a slot
      // holding one of this library's own definitions is only rebased.
      image.nlSlots.push_back({image.globals[g].boundByName() || image.globals[g].kind == GlobalSymbol::Kind::Import
                                   ? IndirectRef::Kind::Global
                                   : IndirectRef::Kind::Local,
                               g});
      continue;
    }
    const InputSymbol& sym = obj.symbols[entry];
    if (!sym.inSection() && !sym.absolute()) bad("slot names undefined local symbol " + sym.name);
    write32(bytesAt(image, slot, 4), symbolAddress(image, o, entry));
    if (!sym.absolute()) addRebase(image, slot);
    image.nlSlots.push_back({IndirectRef::Kind::Local, -1});
  }
}

}  // namespace

void applyRelocations(Image& image) {
  for (size_t o = 0; o < image.objects.size(); ++o) {
    const ObjectFile& obj = image.objects[o];
    for (size_t s = 0; s < obj.sections.size(); ++s) {
      if (image.placements[o][s].output < 0) continue;
      if (obj.sections[s].type() == MachO::S_NON_LAZY_SYMBOL_POINTERS)
        fillPointerSlots(image, int(o), int(s));
      else
        SectionFixer(image, int(o), int(s)).run();
    }
  }
}

}  // namespace torvel::ld
