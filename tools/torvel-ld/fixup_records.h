// The dyld records produced while pointers are written: a rebase for every
// absolute pointer into the image, a bind for every pointer to an import, a
// weak bind for every pointer to an exported weak definition.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace torvel::ld {

// A pointer in __TEXT gets a TEXT_ABSOLUTE32 rebase, any other a POINTER one.
void addRebase(Image& image, uint32_t address);

// The output sections holding TEXT_ABSOLUTE32 rebases, by section index. Their
// headers carry S_ATTR_LOC_RELOC, so that dyld makes their pages writable
// while it rebases.
std::vector<bool> sectionsWithTextRebases(const Image& image);

// Binds may only target __DATA; `what` names the reference for the error.
void addBind(Image& image, uint32_t address, int global, int32_t addend, const std::string& what);
void addWeakBind(Image& image, uint32_t address, int global, int32_t addend);

// Writes a pointer-sized reference to `global` (plus `addend`) at final
// address `address` and records the rebase, bind and weak bind it needs.
void writePointerTo(Image& image, uint32_t address, int global, int32_t addend, const std::string& what);

uint8_t* bytesAt(Image& image, uint32_t address, uint32_t width);

}  // namespace torvel::ld
