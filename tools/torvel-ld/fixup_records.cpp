#include "fixup_records.h"

#include "address_map.h"
#include "byte_io.h"
#include "diagnostics.h"
#include "macho.h"

namespace torvel::ld {

uint8_t* bytesAt(Image& image, uint32_t address, uint32_t width) {
  int s = outputSectionAt(image, address);
  if (s < 0 || image.sections[s].zerofill() || address - image.sections[s].addr + width > image.sections[s].size)
    fail("internal error: no initialised section holds " + hex(address));
  OutputSection& out = image.sections[s];
  return out.data.data() + (address - out.addr);
}

void addRebase(Image& image, uint32_t address) {
  uint8_t type = inTextSegment(image, address) ? uint8_t(MachO::REBASE_TYPE_TEXT_ABSOLUTE32)
                                               : uint8_t(MachO::REBASE_TYPE_POINTER);
  image.rebases.push_back({address, type});
}

std::vector<bool> sectionsWithTextRebases(const Image& image) {
  std::vector<bool> marked(image.sections.size(), false);
  for (const RebaseRecord& r : image.rebases) {
    if (r.type != MachO::REBASE_TYPE_TEXT_ABSOLUTE32) continue;
    int s = outputSectionAt(image, r.address);
    if (s >= 0) marked[s] = true;
  }
  return marked;
}

void addBind(Image& image, uint32_t address, int global, int32_t addend, const std::string& what) {
  if (inTextSegment(image, address))
    fail(what + ": an absolute address of imported symbol " + image.globals[global].name +
         " inside code is not supported (compile as position-independent code)");
  image.binds.push_back({address, uint8_t(MachO::BIND_TYPE_POINTER), global, addend});
}

void addWeakBind(Image& image, uint32_t address, int global, int32_t addend) {
  uint8_t type = inTextSegment(image, address) ? uint8_t(MachO::BIND_TYPE_TEXT_ABSOLUTE32)
                                               : uint8_t(MachO::BIND_TYPE_POINTER);
  image.weakBinds.push_back({address, type, global, addend});
}

void writePointerTo(Image& image, uint32_t address, int global, int32_t addend, const std::string& what) {
  const GlobalSymbol& g = image.globals[global];
  uint8_t* field = bytesAt(image, address, 4);
  if (g.kind == GlobalSymbol::Kind::Import) {
    write32(field, 0);
    addBind(image, address, global, addend, what);
    return;
  }
  write32(field, globalAddress(image, global) + uint32_t(addend));
  if (!g.absolute) addRebase(image, address);
  if (g.boundByName()) addWeakBind(image, address, global, addend);
}

}  // namespace torvel::ld
