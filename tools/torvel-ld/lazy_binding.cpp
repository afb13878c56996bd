#include "lazy_binding.h"

#include <algorithm>
#include <iterator>

#include "address_map.h"
#include "byte_io.h"
#include "diagnostics.h"
#include "dyld_info.h"
#include "fixup_records.h"
#include "macho.h"
#include "stub_code.h"

namespace torvel::ld {

void writeStubs(Image& image) {
  if (image.stubs.empty()) return;
  OutputSection& stubs = image.sections[image.findSection("__TEXT", "__symbol_stub")];
  const OutputSection& lazy = image.sections[image.findSection("__DATA", "__la_symbol_ptr")];
  const Segment& data = image.segments[1];
  const uint32_t dataIndex = 1;

  uint32_t helperAddr = 0, binderSlot = 0, cacheSlot = 0;
  if (image.lazyBinding) {
    const OutputSection& nl = image.sections[image.findSection("__DATA", "__nl_symbol_ptr")];
    binderSlot = nl.addr;
    cacheSlot = nl.addr + kPointerSize;
    image.binds.push_back({binderSlot, uint8_t(MachO::BIND_TYPE_POINTER), image.binderGlobal, 0});
    image.nlSlots.push_back({IndirectRef::Kind::Global, image.binderGlobal});
    image.nlSlots.push_back({IndirectRef::Kind::Absolute, -1});  // dyld keeps its image cache here
    helperAddr = image.sections[image.findSection("__TEXT", "__stub_helper")].addr;
    uint8_t* h = bytesAt(image, helperAddr, kStubHelperHeaderSize);
    std::copy(std::begin(kStubHelperHeaderCode), std::end(kStubHelperHeaderCode), h);
    write32(h + kHelperCacheSlotAt, cacheSlot);
    write32(h + kHelperBinderSlotAt, binderSlot);
    addRebase(image, helperAddr + kHelperCacheSlotAt);
    addRebase(image, helperAddr + kHelperBinderSlotAt);
  }

  ByteWriter lazyInfo;
  uint32_t entry = helperAddr + kStubHelperHeaderSize;
  for (size_t i = 0; i < image.stubs.size(); ++i) {
    Stub& stub = image.stubs[i];
    const GlobalSymbol& g = image.globals[stub.global];
    uint32_t stubAddr = stubs.addr + uint32_t(i) * kStubSize;
    uint32_t lazyAddr = lazy.addr + uint32_t(i) * kPointerSize;
    uint8_t* s = bytesAt(image, stubAddr, kStubSize);
    std::copy(std::begin(kStubCode), std::end(kStubCode), s);
    write32(s + kStubLazyPointerAt, lazyAddr);
    addRebase(image, stubAddr + kStubLazyPointerAt);

    if (g.kind == GlobalSymbol::Kind::Import) {
      stub.lazyBindOffset = uint32_t(lazyInfo.size());
      appendLazyBind(lazyInfo, dataIndex, lazyAddr - data.vmaddr, g.name, g.weakImport);
      uint8_t* e = bytesAt(image, entry, kStubHelperEntrySize);
      std::copy(std::begin(kStubHelperEntryCode), std::end(kStubHelperEntryCode), e);
      write32(e + kEntryLazyBindOffsetAt, stub.lazyBindOffset);
      write32(e + kEntryJumpAt, helperAddr - (entry + kStubHelperEntrySize));
      write32(bytesAt(image, lazyAddr, 4), entry);
      addRebase(image, lazyAddr);
      entry += kStubHelperEntrySize;
    } else {
      writePointerTo(image, lazyAddr, stub.global, 0, "lazy pointer");
    }
  }
  lazyInfo.padTo(4);
  image.lazyBindInfo = std::move(lazyInfo.bytes());
}

}  // namespace torvel::ld
