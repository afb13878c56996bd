// Applies every relocation of every kept input section to the output
// contents, each as its kind's row in relocation_kinds.h says, and fills the
// non-lazy pointer slots from the objects' indirect symbol tables. Records
// the rebases, binds and weak binds this needs.
#pragma once

#include "image.h"

namespace torvel::ld {

void applyRelocations(Image& image);

}  // namespace torvel::ld
