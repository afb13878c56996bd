#include "posix_bundles.h"

#include "info_plist.h"
#include "macho_architectures.h"

#include <sys/stat.h>

namespace vornik {

std::optional<BundleInfo> PosixBundles::open(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;

    BundleInfo bundle;
    std::optional<InfoPlist> plist = readInfoPlist(path + "/Contents/Info.plist");
    if (!plist) return bundle;
    bundle.identifier = plist->bundleIdentifier;

    const std::optional<std::string>& name = plist->executableName;
    if (!name || name->empty() || name->find('/') != std::string::npos || *name == "." ||
        *name == "..")
        return bundle;
    bundle.executablePath = path + "/Contents/MacOS/" + *name;
    std::vector<int> architectures = executableArchitecturesOfFile(*bundle.executablePath);
    if (!architectures.empty()) bundle.executableArchitectures = std::move(architectures);
    return bundle;
}

}  // namespace vornik
