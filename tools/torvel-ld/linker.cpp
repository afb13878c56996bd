#include "linker.h"

#include "diagnostics.h"
#include "eh_frame.h"
#include "layout.h"
#include "lazy_binding.h"
#include "macho_writer.h"
#include "relocation.h"
#include "symbol_resolution.h"

namespace torvel::ld {

std::vector<uint8_t> link(const LinkOptions& options) {
  if (options.inputs.empty()) fail("no input files");
  Image image;
  image.options = options;
  for (const std::string& path : options.inputs) image.objects.push_back(loadObject(path));
  resolveSymbols(image);
  planStubs(image);
  layoutImage(image);
  writeStubs(image);
  applyRelocations(image);
  fixEhFrames(image);
  return writeDylib(image);
}

}  // namespace torvel::ld
