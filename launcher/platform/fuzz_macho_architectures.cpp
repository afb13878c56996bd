// libFuzzer entry: any bytes at all must give a list or nothing, never a read
// outside the data (AddressSanitizer watches) or a crash.
#include "macho_architectures.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vornik::MemoryBytes bytes(data, size);
    std::vector<int> architectures = vornik::executableArchitectures(bytes);
    if (architectures.size() > size) __builtin_trap();
    return 0;
}
