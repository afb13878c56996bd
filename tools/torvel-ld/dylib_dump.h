// A reader for the dylibs this linker writes, used to check them: it decodes
// the dyld information the way dyld does (segment-relative addresses, which
// llvm-objdump 14 misreads for rebases in __TEXT) and names the section each
// address falls in. Malformed input ends in a LinkError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvel::ld {

std::string dumpDylib(const std::vector<uint8_t>& bytes, const std::string& path);

}  // namespace torvel::ld
