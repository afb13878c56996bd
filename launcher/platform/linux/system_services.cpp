// The Linux stand-ins for the services macOS offers as the system's own.
#include "system_services.h"

#include "folder_scan_workspace.h"
#include "plist_preferences.h"
#include "proc_running_applications.h"

namespace vornik {

std::shared_ptr<Preferences> userPreferences(Files& files) {
    Result<std::string> home = files.homeDirectory();
    // Without a home folder nothing can be kept: the options live as long as the program.
    return std::make_shared<PlistPreferences>(home ? preferencesFileIn(home.value()) : std::string());
}

std::shared_ptr<Workspace> systemWorkspace(std::shared_ptr<Files> files) {
    return std::make_shared<FolderScanWorkspace>(std::move(files));
}

std::shared_ptr<RunningApplications> systemRunningApplications() {
    return std::make_shared<ProcessRunningApplications>();
}

const char* applicationLookupDescription() {
    return "a stand-in for the system's lookup by bundle identifier, which Linux does not have: "
           "a scan of /Applications, ~/Applications and the folders directly inside them";
}

}  // namespace vornik
