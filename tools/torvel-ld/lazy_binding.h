// Calls to imported functions go through 6-byte stubs (jmp *lazy_pointer).
// Each lazy pointer starts at its stub-helper entry, which pushes the offset
// of the symbol's lazy-bind entry and jumps to the common helper part, which
// calls dyld_stub_binder. Calls to the library's own exported weak
// definitions also get a stub, whose pointer starts at the definition and is
// listed in the weak-bind information, so that they go through the name.
// Which names get a stub is decided during symbol resolution.
#pragma once

#include "image.h"

namespace torvel::ld {

// After layout: writes stubs, helper and lazy pointers, the dyld_stub_binder
// slot and the lazy-bind information, with their rebases, binds, weak binds.
void writeStubs(Image& image);

}  // namespace torvel::ld
