#include "address_map.h"

#include "diagnostics.h"
#include "macho.h"

namespace torvel::ld {

uint32_t inputSectionAddress(const Image& image, int obj, int sect) {
  const Placement& p = image.placements[obj][sect];
  if (p.output < 0)
    fail(image.objects[obj].path + ": reference into section " +
         image.objects[obj].sections[sect].displayName() + ", which is not linked into the dylib");
  return image.sections[p.output].addr + p.offset;
}

int sectionHolding(const Image& image, int obj, uint32_t addr, const std::string& context) {
  const auto& sections = image.objects[obj].sections;
  int pastEnd = -1;
  for (size_t s = 0; s < sections.size(); ++s) {
    const InputSection& sec = sections[s];
    if (sec.size == 0) continue;
    if (sec.contains(addr)) return int(s);
    if (addr == sec.addr + sec.size && pastEnd < 0) pastEnd = int(s);
  }
  if (pastEnd >= 0) return pastEnd;
  fail(image.objects[obj].path + ": " + context + " refers to address " + hex(addr) +
       ", which lies in no section of the object");
}

uint32_t displacement(const Image& image, int obj, uint32_t addr, const std::string& context) {
  int s = sectionHolding(image, obj, addr, context);
  return inputSectionAddress(image, obj, s) - image.objects[obj].sections[s].addr;
}

uint32_t referenceDisplacement(const Image& image, int obj, uint32_t addr, const std::string& context) {
  const auto& replaced = image.replacedDefinitions[obj];
  auto it = replaced.find(addr);
  if (it != replaced.end()) return globalAddress(image, it->second) - addr;
  return displacement(image, obj, addr, context);
}

uint32_t symbolAddress(const Image& image, int obj, uint32_t index) {
  const InputSymbol& sym = image.objects[obj].symbols[index];
  if (sym.absolute()) return sym.value;
  if (!sym.inSection()) fail("internal error: address of undefined symbol " + sym.name);
  int s = sym.sect - 1;
  return inputSectionAddress(image, obj, s) + (sym.value - image.objects[obj].sections[s].addr);
}

uint32_t globalAddress(const Image& image, int global) {
  const GlobalSymbol& g = image.globals[global];
  switch (g.kind) {
    case GlobalSymbol::Kind::Defined:
      return symbolAddress(image, g.object, g.symbol);
    case GlobalSymbol::Kind::Common:
      return image.sections[image.commonSection].addr + g.commonOffset;
    case GlobalSymbol::Kind::DsoHandle:
      return image.segments[0].vmaddr;  // the mach_header starts the __TEXT segment
    case GlobalSymbol::Kind::Import:
      break;
  }
  fail("internal error: address of imported symbol " + g.name);
}

int outputSectionAt(const Image& image, uint32_t addr) {
  for (size_t i = 0; i < image.sections.size(); ++i) {
    const OutputSection& out = image.sections[i];
    if (addr >= out.addr && addr - out.addr < out.size) return int(i);
  }
  return -1;
}

bool inTextSegment(const Image& image, uint32_t addr) {
  const Segment& text = image.segments[0];
  return addr >= text.vmaddr && addr - text.vmaddr < text.vmsize;
}

}  // namespace torvel::ld
