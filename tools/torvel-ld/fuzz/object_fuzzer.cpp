// libFuzzer target: the input is one object file. Parsing, linking and
// reading back the produced dylib must either succeed or end in a
// LinkError; anything else (a crash, a sanitizer report) is a bug.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "diagnostics.h"
#include "dylib_dump.h"
#include "linker.h"
#include "object_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel::ld;
  try {
    ObjectFile obj = parseObject("input.o", std::span<const uint8_t>(data, size));
    LinkOptions options;
    options.output = "fuzz.dylib";
    options.installName = "/usr/lib/libtorvelrt.dylib";
    options.minVersion = 0x000A0600;
    options.allUndefinedAreImports = true;
    std::vector<ObjectFile> objects;
    objects.push_back(std::move(obj));
    std::vector<uint8_t> dylib = linkObjects(options, std::move(objects));
    dumpDylib(dylib, "fuzz.dylib");
  } catch (const LinkError&) {
  }
  return 0;
}
