#include "own_bundle.h"

#include "file_paths.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace vornik {

std::string ownExecutablePath() {
#ifdef __APPLE__
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size + 1);
    if (_NSGetExecutablePath(buffer.data(), &size) != 0) return {};
    char resolved[PATH_MAX];
    if (!::realpath(buffer.data(), resolved)) return {};
    return resolved;
#else
    char target[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", target, sizeof target - 1);
    if (length <= 0) return {};
    return std::string(target, static_cast<std::size_t>(length));
#endif
}

std::string bundleOfExecutable(const std::string& executablePath) {
    std::string macOS = deletingLastPathComponent(executablePath);
    std::string contents = deletingLastPathComponent(macOS);
    std::string bundle = deletingLastPathComponent(contents);
    if (lastPathComponent(macOS) == "MacOS" && lastPathComponent(contents) == "Contents" &&
        pathExtension(bundle) == "app")
        return bundle;
    return macOS;
}

}  // namespace vornik
