// libFuzzer target: the input is one object file, or several separated by
// the marker "%%TORVEL-OBJECT%%" (so that symbol resolution across objects is
// exercised too). Parsing, linking and reading back the produced dylib must
// either succeed or end in a LinkError; anything else (a crash, a sanitizer
// report) is a bug.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "diagnostics.h"
#include "dylib_dump.h"
#include "linker.h"
#include "object_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace torvel::ld;
  try {
    constexpr std::string_view marker = "%%TORVEL-OBJECT%%";
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<ObjectFile> objects;
    while (true) {
      size_t at = rest.find(marker);
      std::string_view piece = rest.substr(0, at);
      objects.push_back(parseObject("input" + std::to_string(objects.size()) + ".o",
                                    std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(piece.data()), piece.size())));
      if (at == std::string_view::npos) break;
      rest.remove_prefix(at + marker.size());
    }
    LinkOptions options;
    options.output = "fuzz.dylib";
    options.installName = "/usr/lib/libtorvelrt.dylib";
    options.minVersion = 0x000A0600;
    options.allUndefinedAreImports = true;
    std::vector<uint8_t> dylib = linkObjects(options, std::move(objects));
    dumpDylib(dylib, "fuzz.dylib");
  } catch (const LinkError&) {
  }
  return 0;
}
