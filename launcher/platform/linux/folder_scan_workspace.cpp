#include "folder_scan_workspace.h"

#include "file_paths.h"
#include "info_plist.h"
#include "posix_processes.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <sys/stat.h>

namespace vornik {

namespace {

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> sortedVisibleEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* listing = ::opendir(folder.c_str())) {
        while (const struct dirent* item = ::readdir(listing))
            if (item->d_name[0] != '.') names.emplace_back(item->d_name);
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool isAppName(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.size() > 4 && name.ends_with(".app");
}

std::optional<std::string> findIn(const std::string& folder, const std::string& identifier,
                                  int depth) {
    for (const std::string& name : sortedVisibleEntries(folder)) {
        std::string path = appendingPathComponent(folder, name);
        if (!isFolder(path)) continue;
        if (isAppName(name)) {
            std::optional<InfoPlist> plist = readInfoPlist(path + "/Contents/Info.plist");
            if (plist && plist->bundleIdentifier == identifier) return path;
        } else if (depth > 0) {
            if (auto found = findIn(path, identifier, depth - 1)) return found;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FolderScanWorkspace::applicationWithIdentifier(const std::string& identifier) {
    std::vector<std::string> folders{files_->systemApplicationsDirectory()};
    if (Result<std::string> home = files_->homeDirectory())
        folders.push_back(appendingPathComponent(home.value(), "Applications"));
    for (const std::string& folder : folders)
        if (auto found = findIn(folder, identifier, 1)) return found;
    return std::nullopt;
}

void FolderScanWorkspace::reveal(const std::string& path) {
    spawnDetached({"xdg-open", deletingLastPathComponent(path)});
}

}  // namespace vornik
