// Mach-O constants come from LLVM's installed header; the build defines
// LLVM_DISABLE_ABI_BREAKING_CHECKS_ENFORCING so that including it needs no
// LLVM library at link time.
#pragma once

#include <llvm/BinaryFormat/MachO.h>

namespace torvel::ld {
namespace MachO = llvm::MachO;

constexpr uint32_t kPageSize = 4096;
constexpr uint32_t kPointerSize = 4;
constexpr uint32_t kHeaderSize = 28;          // mach_header (32-bit)
constexpr uint32_t kSegmentCommandSize = 56;  // segment_command
constexpr uint32_t kSectionSize = 68;         // section
constexpr uint32_t kNlistSize = 12;
constexpr uint32_t kStubSize = 6;            // jmp *lazy_pointer
constexpr uint32_t kStubHelperHeaderSize = 12;
constexpr uint32_t kStubHelperEntrySize = 10;
}  // namespace torvel::ld
