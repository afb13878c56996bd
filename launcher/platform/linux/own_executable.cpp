// The running program's executable on Linux: the kernel's link /proc/self/exe.
#include "own_bundle.h"

#include <climits>
#include <unistd.h>

namespace vornik {

std::string ownExecutablePath() {
    char target[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", target, sizeof target - 1);
    if (length <= 0) return {};
    return std::string(target, static_cast<std::size_t>(length));
}

}  // namespace vornik
