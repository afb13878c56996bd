// Translation from an object's own address space to final addresses in the
// dylib. Each input section moves as one piece, so an address moves with the
// section that holds it.
#pragma once

#include <cstdint>
#include <string>

#include "image.h"

namespace torvel::ld {

// Final address of the start of input section `sect` of object `obj`.
uint32_t inputSectionAddress(const Image& image, int obj, int sect);

// The section of `obj` holding object-space address `addr`; an address just
// past the end of a section belongs to that section when no other holds it.
// Throws LinkError (mentioning `context`) when no kept section does.
int sectionHolding(const Image& image, int obj, uint32_t addr, const std::string& context);

// How far the section holding `addr` moved (final minus object-space address).
uint32_t displacement(const Image& image, int obj, uint32_t addr, const std::string& context);

// How far a reference that names object-space address `addr` of `obj` by
// address moves. When a weak definition of `obj` that lost to another copy
// starts there, the reference moves to the kept copy, so every object uses
// the same one; otherwise it moves with the section holding `addr`.
uint32_t referenceDisplacement(const Image& image, int obj, uint32_t addr, const std::string& context);

// Final address of a resolved global name. Imports have none.
uint32_t globalAddress(const Image& image, int global);

// Final address of symbol `index` of object `obj` (a section or absolute symbol).
uint32_t symbolAddress(const Image& image, int obj, uint32_t index);

// Output section and segment holding final address `addr`.
int outputSectionAt(const Image& image, uint32_t addr);
bool inTextSegment(const Image& image, uint32_t addr);

}  // namespace torvel::ld
