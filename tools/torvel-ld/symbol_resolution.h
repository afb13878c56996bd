// Resolves the external names of all objects into one global table: strong
// definitions beat weak ones, the first weak definition wins among weak ones,
// real definitions beat tentative (common) ones, and whatever stays undefined
// must be a permitted import. Then decides how references reach them: the
// route of every input section, the names called through a stub, and the
// dyld_stub_binder import when some stub leads to an import. Nothing after
// this phase adds a name or a stub.
#pragma once

#include "image.h"

namespace torvel::ld {

void resolveSymbols(Image& image);

}  // namespace torvel::ld
