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
  std::vector<ObjectFile> objects;
  for (const std::string& path : options.inputs) objects.push_back(loadObject(path));
  return linkObjects(options, std::move(objects));
}

std::vector<uint8_t> linkObjects(const LinkOptions& options, std::vector<ObjectFile> objects) {
  if (objects.empty()) fail("no input files");
  Image image;
  image.options = options;
  image.objects = std::move(objects);
  resolveSymbols(image);
  layoutImage(image);
  writeStubs(image);
  applyRelocations(image);
  fixEhFrames(image);
  return writeDylib(image);
}

}  // namespace torvel::ld
