// Builds the output sections from the input sections (in command-line order,
// each input section copied as one piece at its alignment), adds the sections
// the linker synthesizes (stubs, stub helper, lazy and non-lazy pointers,
// tentative definitions) and gives every section its address and file offset.
#pragma once

#include "image.h"

namespace torvel::ld {

void layoutImage(Image& image);

}  // namespace torvel::ld
