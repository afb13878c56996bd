#pragma once
// The POSIX services put together for one launcher.

#include "posix_files.h"
#include "services.h"

namespace vornik {

// `home` and the applications folder default to the real ones; the
// preferences to the user's (userPreferences, the store every front end
// shares); the launcher's own bundle to the one that holds the running
// executable.
Services makePosixServices(std::shared_ptr<MainThread> mainThread,
                           std::shared_ptr<Preferences> preferences = nullptr,
                           FolderOverrides folders = {}, std::string ownBundlePath = {});

}  // namespace vornik
