#include "launcher_world.h"

#include "fixed_locations.h"
#include "fixture_bundles.h"
#include "posix_services.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace vornik::testing {

std::string standInPath() { return VORNIK_STAND_IN_PATH; }

LauncherWorld::LauncherWorld()
    : home(root / "home"),
      applications(root / "Applications"),
      launcherBundle(root / "VornikLauncher.app"),
      mainThread(std::make_shared<QueuedMainThread>()) {
    makeFolders(home);
    makeFolders(applications);
    makeFolders(launcherBundle + "/Contents/MacOS");
    preferences = std::make_shared<PlistPreferences>(preferencesFileIn(home));
    services = makePosixServices(mainThread, preferences, FolderOverrides{home, applications},
                                 launcherBundle);
    workspace = std::make_shared<RecordingWorkspace>(services.workspace);
    services.workspace = workspace;
}

void LauncherWorld::installRuntime() {
    std::string target = launcherBundle + "/" + runtimeExecutablePath;
    makeFolders(std::filesystem::path(target).parent_path().string());
    std::filesystem::copy_file(standInPath(), target,
                               std::filesystem::copy_options::overwrite_existing);
}

Launcher& LauncherWorld::start() {
    launcher = Launcher::create(controls.controls(), services);
    return *launcher;
}

bool LauncherWorld::waitForEnd() {
    return mainThread->runUntil([this] { return !launcher->isRunning(); }, std::chrono::seconds(30));
}

std::string LauncherWorld::logsFolder() const { return home + "/Library/" + logsFolderInLibrary; }

std::vector<std::string> LauncherWorld::logFiles() const {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(logsFolder(), error))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

RunningBundle::RunningBundle(const std::string& bundlePath, const std::string& identifier) {
    BundleContents contents;
    contents.identifier = identifier;
    contents.executableName = "runner";
    writeBundle(bundlePath, contents);
    std::string executable = bundlePath + "/Contents/MacOS/runner";
    std::filesystem::copy_file(standInPath(), executable);
    holdFile_ = bundlePath + ".hold";
    writeFile(holdFile_, "");

    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
    environment.push_back("TORVEL_STAND_IN_HOLD_FILE=" + holdFile_);
    std::vector<char*> envp;
    for (auto& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {executable.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int error = posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start " + executable);
    pid_ = pid;
    // Wait until the process runs the stand-in (its exe link points into the bundle).
    for (int i = 0; i < 500; ++i) {
        std::error_code linkError;
        auto exe = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", linkError);
        if (!linkError && exe.string() == executable) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

RunningBundle::~RunningBundle() {
    std::filesystem::remove(holdFile_);
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
}

}  // namespace vornik::testing
