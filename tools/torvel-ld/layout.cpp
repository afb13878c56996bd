#include "layout.h"

#include <algorithm>

#include "byte_io.h"
#include "diagnostics.h"
#include "macho.h"
#include "load_commands.h"
#include "stub_code.h"

namespace torvel::ld {

namespace {

int outputFor(Image& image, const std::string& seg, const std::string& sect, uint32_t flags) {
  int found = image.findSection(seg, sect);
  if (found >= 0) {
    if ((image.sections[found].flags & MachO::SECTION_TYPE) != (flags & MachO::SECTION_TYPE))
      fail("inputs disagree on the type of section " + seg + "," + sect);
    return found;
  }
  OutputSection out;
  out.segname = seg;
  out.sectname = sect;
  out.flags = flags;
  image.sections.push_back(out);
  return int(image.sections.size()) - 1;
}

void growBy(OutputSection& out, uint32_t align, uint32_t size, uint32_t& offset) {
  out.align = std::max(out.align, align);
  offset = alignUp(out.size, 1u << align);
  uint64_t end = uint64_t(offset) + size;
  if (end > 0x40000000) fail("section " + out.segname + "," + out.sectname + " grows beyond 1 GiB");
  out.size = uint32_t(end);
}

void placeInputs(Image& image) {
  if (image.lazyBinding) {
    int nl = outputFor(image, "__DATA", "__nl_symbol_ptr", MachO::S_NON_LAZY_SYMBOL_POINTERS);
    image.sections[nl].size = kLazyBindingSlots * kPointerSize;
    image.sections[nl].align = 2;
  }
  image.placements.assign(image.objects.size(), {});
  for (size_t o = 0; o < image.objects.size(); ++o) {
    const ObjectFile& obj = image.objects[o];
    auto& places = image.placements[o];
    places.assign(obj.sections.size(), {});
    for (size_t s = 0; s < obj.sections.size(); ++s) {
      const InputSection& in = obj.sections[s];
      const SectionRoute& route = image.routes[o][s];
      if (route.action == SectionRoute::Action::Drop) continue;
      uint32_t align = in.align;
      if (route.action == SectionRoute::Action::NonLazyPointers) {
        if (in.size % kPointerSize != 0)
          fail(obj.path + ": section " + in.displayName() + " has a size that is not a whole number of pointers");
        align = 2;  // pointer slots sit back to back, so slot order is the indirect-table order
      }
      int out = outputFor(image, route.segname, route.sectname, route.flags);
      places[s].output = out;
      growBy(image.sections[out], align, in.size, places[s].offset);
    }
  }
}

void addSynthesized(Image& image) {
  if (image.stubs.empty()) return;
  uint32_t n = uint32_t(image.stubs.size());
  int stubs = outputFor(image, "__TEXT", "__symbol_stub",
                        uint32_t(MachO::S_SYMBOL_STUBS) | MachO::S_ATTR_PURE_INSTRUCTIONS | MachO::S_ATTR_SOME_INSTRUCTIONS);
  image.sections[stubs].size = n * kStubSize;
  image.sections[stubs].reserved2 = kStubSize;
  if (image.lazyBinding) {
    uint32_t imports = 0;
    for (const Stub& st : image.stubs) imports += image.globals[st.global].kind == GlobalSymbol::Kind::Import;
    int helper = outputFor(image, "__TEXT", "__stub_helper",
                           uint32_t(MachO::S_REGULAR) | MachO::S_ATTR_PURE_INSTRUCTIONS | MachO::S_ATTR_SOME_INSTRUCTIONS);
    image.sections[helper].size = kStubHelperHeaderSize + imports * kStubHelperEntrySize;
  }
  int lazy = outputFor(image, "__DATA", "__la_symbol_ptr", MachO::S_LAZY_SYMBOL_POINTERS);
  image.sections[lazy].size = n * kPointerSize;
  image.sections[lazy].align = 2;
}

// Tentative definitions (common symbols no object defined) are given space in
// __DATA,__common, in name order so that the layout does not depend on the
// order in which objects mention them.
void addCommons(Image& image) {
  std::vector<int> commons;
  for (size_t g = 0; g < image.globals.size(); ++g)
    if (image.globals[g].kind == GlobalSymbol::Kind::Common) commons.push_back(int(g));
  if (commons.empty()) return;
  std::sort(commons.begin(), commons.end(),
            [&](int a, int b) { return image.globals[a].name < image.globals[b].name; });
  int out = outputFor(image, "__DATA", "__common", MachO::S_ZEROFILL);
  image.commonSection = out;
  for (int g : commons) {
    GlobalSymbol& sym = image.globals[g];
    growBy(image.sections[out], std::min<uint32_t>(sym.commonAlign, 12), sym.commonSize, sym.commonOffset);
  }
}

// The indirect symbol table lists the stubs, then the non-lazy pointer
// slots, then the lazy pointers, one entry each; reserved1 of each of these
// sections is the index of its first entry.
void numberIndirectEntries(Image& image) {
  uint32_t n = 0;
  auto mark = [&](const char* seg, const char* sect, uint32_t entries) {
    int s = image.findSection(seg, sect);
    if (s >= 0) image.sections[s].reserved1 = n;
    n += entries;
  };
  const uint32_t stubs = uint32_t(image.stubs.size());
  int nl = image.findSection("__DATA", "__nl_symbol_ptr");
  mark("__TEXT", "__symbol_stub", stubs);
  mark("__DATA", "__nl_symbol_ptr", nl >= 0 ? image.sections[nl].size / kPointerSize : 0);
  mark("__DATA", "__la_symbol_ptr", stubs);
}

void orderSections(Image& image) {
  // Remember where placements point before reordering.
  std::vector<int> order(image.sections.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const OutputSection& x = image.sections[a];
    const OutputSection& y = image.sections[b];
    int sx = x.segname == "__TEXT" ? 0 : 1, sy = y.segname == "__TEXT" ? 0 : 1;
    if (sx != sy) return sx < sy;
    return sectionRank(x.segname, x.sectname, x.flags) < sectionRank(y.segname, y.sectname, y.flags);
  });
  std::vector<int> newIndex(order.size());
  std::vector<OutputSection> sorted;
  for (size_t i = 0; i < order.size(); ++i) {
    newIndex[order[i]] = int(i);
    sorted.push_back(std::move(image.sections[order[i]]));
  }
  image.sections = std::move(sorted);
  for (auto& places : image.placements)
    for (Placement& p : places)
      if (p.output >= 0) p.output = newIndex[p.output];
  if (image.commonSection >= 0) image.commonSection = newIndex[image.commonSection];
  for (size_t i = 0; i < image.sections.size(); ++i) image.sections[i].ordinal = int(i) + 1;
}

void assignAddresses(Image& image) {
  image.segments.clear();
  Segment text{"__TEXT", 0, 0, 0, 0, 7, 5, {}};
  Segment data{"__DATA", 0, 0, 0, 0, 7, 3, {}};
  for (size_t i = 0; i < image.sections.size(); ++i)
    (image.sections[i].segname == "__TEXT" ? text : data).sections.push_back(int(i));
  image.segments.push_back(text);
  if (!data.sections.empty()) image.segments.push_back(data);
  image.segments.push_back(Segment{"__LINKEDIT", 0, 0, 0, 0, 7, 1, {}});

  image.loadCommands = planLoadCommands(image);
  uint64_t cursor = headerAndCommandsSize(image.loadCommands);
  for (int i : image.segments[0].sections) {
    OutputSection& out = image.sections[i];
    cursor = alignUp(uint32_t(cursor), 1u << out.align);
    out.addr = out.fileOffset = uint32_t(cursor);
    cursor += out.size;
  }
  Segment& t = image.segments[0];
  t.vmsize = t.filesize = alignUp(uint32_t(cursor), kPageSize);

  uint32_t nextAddr = t.vmaddr + t.vmsize, nextFile = t.fileoff + t.filesize;
  if (image.segments.size() == 3) {
    Segment& d = image.segments[1];
    d.vmaddr = nextAddr;
    d.fileoff = nextFile;
    uint64_t addr = d.vmaddr, fileEnd = d.vmaddr;
    for (int i : d.sections) {
      OutputSection& out = image.sections[i];
      addr = alignUp(uint32_t(addr), 1u << out.align);
      out.addr = uint32_t(addr);
      out.fileOffset = out.zerofill() ? 0 : d.fileoff + (out.addr - d.vmaddr);
      addr += out.size;
      if (!out.zerofill()) fileEnd = addr;
      if (addr > 0xF0000000ull) fail("the image does not fit in the 32-bit address space");
    }
    d.filesize = alignUp(uint32_t(fileEnd - d.vmaddr), kPageSize);
    d.vmsize = alignUp(uint32_t(addr - d.vmaddr), kPageSize);
    nextAddr = d.vmaddr + d.vmsize;
    nextFile = d.fileoff + d.filesize;
  }
  Segment& le = image.segments.back();
  le.vmaddr = nextAddr;
  le.fileoff = nextFile;
}

void copyContents(Image& image) {
  for (OutputSection& out : image.sections)
    if (!out.zerofill()) out.data.assign(out.size, out.code() ? 0x90 : 0x00);
  for (size_t o = 0; o < image.objects.size(); ++o) {
    const ObjectFile& obj = image.objects[o];
    for (size_t s = 0; s < obj.sections.size(); ++s) {
      const Placement& p = image.placements[o][s];
      if (p.output < 0) continue;
      OutputSection& out = image.sections[p.output];
      const InputSection& in = obj.sections[s];
      if (out.zerofill() != in.zerofill())
        fail(obj.path + ": section " + in.displayName() + " mixes zero-fill and initialised contents");
      if (!in.zerofill()) std::copy(in.data.begin(), in.data.end(), out.data.begin() + p.offset);
    }
  }
}

}  // namespace

bool OutputSection::zerofill() const { return (flags & MachO::SECTION_TYPE) == MachO::S_ZEROFILL; }
bool OutputSection::code() const { return (flags & MachO::S_ATTR_SOME_INSTRUCTIONS) != 0; }

int Image::findSection(const std::string& seg, const std::string& sect) const {
  for (size_t i = 0; i < sections.size(); ++i)
    if (sections[i].segname == seg && sections[i].sectname == sect) return int(i);
  return -1;
}

void layoutImage(Image& image) {
  placeInputs(image);
  addSynthesized(image);
  addCommons(image);
  numberIndirectEntries(image);
  orderSections(image);
  assignAddresses(image);
  copyContents(image);
}

}  // namespace torvel::ld
