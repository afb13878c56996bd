#include "own_bundle.h"

#include "file_paths.h"

namespace vornik {

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
