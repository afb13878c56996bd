// The i386 code the linker writes itself, as byte templates: each array is
// the instruction sequence with its 32-bit operands left zero, and the
// operands the linker fills in are named by their offset in it.
#pragma once

#include <cstdint>

namespace torvel::ld {

// A stub, one per name called through a stub: an indirect jump through the
// name's lazy pointer.
inline constexpr uint8_t kStubCode[] = {
    0xFF, 0x25, 0x00, 0x00, 0x00, 0x00,  // jmp *[lazy pointer]      (FF /4, absolute disp32)
};
inline constexpr uint32_t kStubSize = sizeof kStubCode;
inline constexpr uint32_t kStubLazyPointerAt = 2;  // absolute address, rebased

// The common part of the stub helper: hands dyld_stub_binder the address of
// the image-cache slot (the lazy-bind offset is already on the stack).
inline constexpr uint8_t kStubHelperHeaderCode[] = {
    0x68, 0x00, 0x00, 0x00, 0x00,        // push $image_cache_slot   (68 imm32)
    0xFF, 0x25, 0x00, 0x00, 0x00, 0x00,  // jmp *[binder slot]       (FF /4, absolute disp32)
    0x90,                                // nop                      (pads to 12 bytes)
};
inline constexpr uint32_t kStubHelperHeaderSize = sizeof kStubHelperHeaderCode;
inline constexpr uint32_t kHelperCacheSlotAt = 1;   // absolute address, rebased
inline constexpr uint32_t kHelperBinderSlotAt = 7;  // absolute address, rebased

// One helper entry per imported function: where its lazy pointer leads until
// it is bound.
inline constexpr uint8_t kStubHelperEntryCode[] = {
    0x68, 0x00, 0x00, 0x00, 0x00,  // push $lazy_bind_offset   (68 imm32)
    0xE9, 0x00, 0x00, 0x00, 0x00,  // jmp helper header        (E9 rel32, from the entry's end)
};
inline constexpr uint32_t kStubHelperEntrySize = sizeof kStubHelperEntryCode;
inline constexpr uint32_t kEntryLazyBindOffsetAt = 1;
inline constexpr uint32_t kEntryJumpAt = 6;

// Lazy binding also takes the first two slots of __nl_symbol_ptr: the
// dyld_stub_binder pointer the helper jumps through, and the word where dyld
// keeps its cache for this image.
inline constexpr uint32_t kLazyBindingSlots = 2;

}  // namespace torvel::ld
