#pragma once
// Everything a launcher needs, on a temporary folder: a home folder, a system
// applications folder, a launcher bundle with the development stand-in at the
// runtime host's path, real POSIX services, preferences in the home folder,
// a queued main thread and recording controls. Only the file viewer is
// replaced: reveals are recorded instead of opening windows.

#include "launcher.h"
#include "plist_preferences.h"
#include "queued_main_thread.h"
#include "recording_controls.h"
#include "temporary_folder.h"

#include <memory>
#include <string>
#include <vector>

namespace vornik::testing {

class RecordingWorkspace : public Workspace {
public:
    explicit RecordingWorkspace(std::shared_ptr<Workspace> real) : real_(std::move(real)) {}
    std::optional<std::string> applicationWithIdentifier(const std::string& identifier) override {
        return real_->applicationWithIdentifier(identifier);
    }
    void reveal(const std::string& path) override { revealed.push_back(path); }
    std::vector<std::string> revealed;

private:
    std::shared_ptr<Workspace> real_;
};

class LauncherWorld {
public:
    LauncherWorld();

    // Puts a copy of the stand-in at the runtime host's path of the bundle.
    void installRuntime();
    // Creates the launcher from `services` (which a test may adjust first).
    Launcher& start();
    // Runs main-thread work until the child has ended (false after 30 s).
    bool waitForEnd();

    std::string logsFolder() const;
    std::vector<std::string> logFiles() const;

    TemporaryFolder root;
    const std::string home;
    const std::string applications;
    const std::string launcherBundle;
    std::shared_ptr<QueuedMainThread> mainThread;
    std::shared_ptr<PlistPreferences> preferences;
    std::shared_ptr<RecordingWorkspace> workspace;
    Services services;
    RecordingControls controls;
    std::shared_ptr<Launcher> launcher;
};

// The development stand-in built alongside the tests.
std::string standInPath();

// Runs a copy of the stand-in from inside an application bundle with the given
// identifier until the object goes away (for the running-applications tests).
class RunningBundle {
public:
    RunningBundle(const std::string& bundlePath, const std::string& identifier);
    ~RunningBundle();
    int processId() const { return pid_; }

private:
    std::string holdFile_;
    int pid_ = -1;
};

}  // namespace vornik::testing
