// The running program's executable on macOS, from dyld, with symbolic links
// resolved. Built only on macOS.
#include "own_bundle.h"

#include <mach-o/dyld.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace vornik {

std::string ownExecutablePath() {
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);  // asks for the size
    std::vector<char> buffer(size + 1);
    if (_NSGetExecutablePath(buffer.data(), &size) != 0) return {};
    char resolved[PATH_MAX];
    if (!::realpath(buffer.data(), resolved)) return {};
    return resolved;
}

}  // namespace vornik
