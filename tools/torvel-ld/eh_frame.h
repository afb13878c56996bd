// The assembler resolves an FDE's pc_begin and its LSDA pointer (pc-relative
// references from __eh_frame into __text and __gcc_except_tab) without
// relocation entries. Those sections move by different amounts, so these
// implicit fix-ups are found by walking the CIEs and FDEs and re-encoded.
#pragma once

#include "image.h"

namespace torvel::ld {

void fixEhFrames(Image& image);

}  // namespace torvel::ld
