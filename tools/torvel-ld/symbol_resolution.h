// Resolves the external names of all objects into one global table: strong
// definitions beat weak ones, the first weak definition wins among weak ones,
// real definitions beat tentative (common) ones, and whatever stays undefined
// must be a permitted import.
#pragma once

#include "image.h"

namespace torvel::ld {

void resolveSymbols(Image& image);

// Adds (or finds) an import that the linker itself needs, such as
// dyld_stub_binder, and returns its global index.
int addLinkerImport(Image& image, const std::string& name);

}  // namespace torvel::ld
