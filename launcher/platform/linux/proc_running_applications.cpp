#include "proc_running_applications.h"

#include "info_plist.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <map>
#include <unistd.h>

namespace vornik {

namespace {

struct ProcessExecutable {
    int processId;
    std::string path;
};

std::vector<ProcessExecutable> listProcesses() {
    std::vector<ProcessExecutable> processes;
    DIR* proc = ::opendir("/proc");
    if (!proc) return processes;
    while (const struct dirent* item = ::readdir(proc)) {
        std::string name = item->d_name;
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        std::string link = "/proc/" + name + "/exe";
        char target[4096];
        ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
        if (length <= 0) continue;  // another user's process, or a kernel thread
        std::string path(target, static_cast<std::size_t>(length));
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size() && path.ends_with(deleted)) continue;
        processes.push_back({std::stoi(name), path});
    }
    ::closedir(proc);
    return processes;
}

bool hasAppExtension(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".app";
}

}  // namespace

std::string enclosingBundle(const std::string& executablePath) {
    std::string folder = executablePath;
    for (;;) {
        std::size_t slash = folder.rfind('/');
        if (slash == std::string::npos || slash == 0) return {};
        folder.resize(slash);
        std::size_t start = folder.rfind('/');
        if (hasAppExtension(folder.substr(start == std::string::npos ? 0 : start + 1)))
            return folder;
    }
}

std::vector<RunningApplication> ProcessRunningApplications::withIdentifier(
    const std::string& identifier) {
    std::vector<RunningApplication> found;
    std::map<std::string, bool> matches;  // bundle path -> carries the identifier
    for (const ProcessExecutable& process : listProcesses()) {
        std::string bundle = enclosingBundle(process.path);
        if (bundle.empty()) continue;
        auto known = matches.find(bundle);
        if (known == matches.end()) {
            std::optional<InfoPlist> plist = readInfoPlist(bundle + "/Contents/Info.plist");
            bool match = plist && plist->bundleIdentifier == identifier;
            known = matches.emplace(bundle, match).first;
        }
        if (known->second) found.push_back({process.processId, bundle});
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.processId < b.processId; });
    return found;
}

void ProcessRunningApplications::activate(const RunningApplication&) {}

}  // namespace vornik
