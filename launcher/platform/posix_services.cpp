#include "posix_services.h"

#include "own_bundle.h"
#include "posix_bundles.h"
#include "posix_processes.h"
#include "system_services.h"

namespace vornik {

Services makePosixServices(std::shared_ptr<MainThread> mainThread,
                           std::shared_ptr<Preferences> preferences, FolderOverrides folders,
                           std::string ownBundlePath) {
    auto files = std::make_shared<PosixFiles>(std::move(folders));
    Services services;
    services.bundles = std::make_shared<PosixBundles>();
    services.files = files;
    services.processes = std::make_shared<PosixProcesses>();
    services.runningApplications = systemRunningApplications();
    services.preferences = preferences ? std::move(preferences) : userPreferences(*files);
    services.workspace = systemWorkspace(files);
    services.mainThread = std::move(mainThread);
    services.ownBundlePath =
        ownBundlePath.empty() ? bundleOfExecutable(ownExecutablePath()) : std::move(ownBundlePath);
    return services;
}

}  // namespace vornik
