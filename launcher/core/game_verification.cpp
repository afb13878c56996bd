#include "game_verification.h"

#include "bundle_identifiers.h"
#include "file_paths.h"
#include "fixed_locations.h"
#include "launch_error.h"

#include <algorithm>
#include <cctype>

namespace vornik {

namespace {

// The processor number of 32-bit Intel code in an executable's header, which
// the game's executable must contain.
constexpr int architectureI386 = 7;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

Result<std::string> verifiedGame(const std::string& path, Bundles& bundles, Files& files) {
    const LaunchFailure wrongApp = failure(LaunchError::wrongApp);
    const std::string candidate = standardizedPath(files.resolvingSymlinks(path));

    if (lowerCase(pathExtension(candidate)) != "app") return wrongApp;

    std::optional<BundleInfo> bundle = bundles.open(candidate);
    if (!bundle) return wrongApp;
    if (bundle->identifier != std::string(gameIdentifier)) return wrongApp;

    const auto& architectures = bundle->executableArchitectures;
    if (!architectures ||
        std::find(architectures->begin(), architectures->end(), architectureI386) ==
            architectures->end())
        return wrongApp;

    if (!bundle->executablePath || !files.isReadableFile(*bundle->executablePath))
        return wrongApp;
    return candidate;
}

bool isSteamEdition(const std::string& bundlePath, Files& files) {
    return files.isReadableFile(appendingPathComponent(bundlePath, steamMarker));
}

}  // namespace vornik
