#pragma once
// The test a bundle must pass to be the game, and the Steam-edition test.

#include "launch_failure.h"
#include "services.h"

#include <string>

namespace vornik {

// The verified, symlink-resolved and standardized path of the game bundle at
// `path`, or the wrongApp failure. No side effects.
Result<std::string> verifiedGame(const std::string& path, Bundles& bundles, Files& files);

// True when the Steam marker inside the bundle is a readable file.
bool isSteamEdition(const std::string& bundlePath, Files& files);

}  // namespace vornik
