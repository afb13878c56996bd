// libFuzzer entry for the Info.plist reader: the shape check before the
// parser, then libplist itself on whatever the check lets through.
#include "info_plist.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vornik::parseInfoPlist(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
