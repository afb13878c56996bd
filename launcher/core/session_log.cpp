#include "session_log.h"

#include "file_paths.h"
#include "fixed_locations.h"
#include "launch_error.h"

namespace vornik {

Result<std::string> logsDirectory(Files& files) {
    Result<std::string> library = files.libraryDirectory();
    if (!library) return library.failure();
    return appendingPathComponent(library.value(), logsFolderInLibrary);
}

Result<std::string> newSessionLog(Files& files) {
    Result<std::string> folder = logsDirectory(files);
    if (!folder) return folder.failure();
    if (std::optional<LaunchFailure> failed = files.createDirectories(folder.value()))
        return *failed;
    std::string log = appendingPathComponent(folder.value(), files.newUuidString() + ".log");
    if (!files.createPrivateFile(log)) return failure(LaunchError::logCreation);
    return log;
}

std::optional<std::string> latestSessionLog(Files& files) {
    Result<std::string> folder = logsDirectory(files);
    if (!folder) return std::nullopt;
    Result<std::vector<FolderEntry>> entries = files.listFolder(folder.value());
    if (!entries) return std::nullopt;

    const FolderEntry* best = nullptr;
    for (const FolderEntry& entry : entries.value()) {
        if (pathExtension(entry.path) != "log") continue;
        if (!entry.isRegularFile || !*entry.isRegularFile || !entry.modified) continue;
        if (!best || *best->modified < *entry.modified) best = &entry;
    }
    if (!best) return std::nullopt;
    return best->path;
}

}  // namespace vornik
