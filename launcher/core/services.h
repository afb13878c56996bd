#pragma once
// The platform services the launch logic uses, each behind a small interface
// so the logic stays free of any toolkit. launcher/platform supplies the
// POSIX implementations.

#include "launch_failure.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vornik {

// What opening an application bundle tells about it. Each piece may be absent.
struct BundleInfo {
    std::optional<std::string> identifier;
    std::optional<std::vector<int>> executableArchitectures;
    std::optional<std::string> executablePath;
};

class Bundles {
public:
    virtual ~Bundles() = default;
    // Nothing when no bundle opens at the path.
    virtual std::optional<BundleInfo> open(const std::string& path) = 0;
};

// One entry of a folder listing; either property may be unreadable.
struct FolderEntry {
    std::string path;
    std::optional<bool> isRegularFile;
    std::optional<std::chrono::system_clock::time_point> modified;
};

// A file opened for writing; closed when the object goes away.
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual int descriptor() const = 0;
};

class Files {
public:
    virtual ~Files() = default;
    virtual bool isReadableFile(const std::string& path) = 0;
    virtual bool isExecutableFile(const std::string& path) = 0;
    // The path with every symbolic link resolved, as far as it exists.
    virtual std::string resolvingSymlinks(const std::string& path) = 0;
    virtual Result<std::string> homeDirectory() = 0;
    virtual Result<std::string> libraryDirectory() = 0;
    virtual std::string systemApplicationsDirectory() = 0;
    // Creates the folder and any missing parents; an existing folder is fine.
    virtual std::optional<LaunchFailure> createDirectories(const std::string& path) = 0;
    // Creates a new empty file readable and writable by its owner only.
    // False when the file exists already, is a link, or cannot be created.
    virtual bool createPrivateFile(const std::string& path) = 0;
    virtual Result<std::unique_ptr<WritableFile>> openForWriting(const std::string& path) = 0;
    // Visible entries (no hidden ones) in the platform's listing order.
    virtual Result<std::vector<FolderEntry>> listFolder(const std::string& path) = 0;
    virtual std::string newUuidString() = 0;
};

// What the launcher hands a child process.
struct ChildLaunch {
    std::string executable;
    std::vector<std::string> arguments;
    std::map<std::string, std::string> environment;
    std::string workingDirectory;
    int outputDescriptor = -1;  // both standard output and standard error
};

// How a child ended: its exit status, or the signal number when it was
// ended by an uncaught signal.
struct ChildEnd {
    int status = 0;
    bool signaled = false;
};

class Child {
public:
    virtual ~Child() = default;
    virtual int processId() const = 0;
};

class Processes {
public:
    virtual ~Processes() = default;
    // The launcher's own environment.
    virtual std::map<std::string, std::string> environment() = 0;
    // Starts the child. `ended` runs once, on a thread of the service's
    // choosing, when the child has ended.
    virtual Result<std::shared_ptr<Child>> launch(const ChildLaunch& request,
                                                  std::function<void(ChildEnd)> ended) = 0;
};

struct RunningApplication {
    int processId = 0;
    std::string bundlePath;
};

class RunningApplications {
public:
    virtual ~RunningApplications() = default;
    virtual std::vector<RunningApplication> withIdentifier(const std::string& identifier) = 0;
    // Brings the application to the front where the platform can.
    virtual void activate(const RunningApplication& application) = 0;
};

class Preferences {
public:
    virtual ~Preferences() = default;
    virtual void registerDefaults(const std::map<std::string, bool>& defaults) = 0;
    virtual std::optional<std::string> stringForKey(const std::string& key) = 0;
    virtual void setString(const std::string& key, const std::string& value) = 0;
    // False for a key that is neither stored nor registered.
    virtual bool boolForKey(const std::string& key) = 0;
    virtual void setBool(const std::string& key, bool value) = 0;
};

class Workspace {
public:
    virtual ~Workspace() = default;
    // Where the system knows an application with that identifier to be.
    virtual std::optional<std::string> applicationWithIdentifier(const std::string& identifier) = 0;
    // Shows the file selected in the desktop's file viewer (best effort).
    virtual void reveal(const std::string& path) = 0;
};

// Runs work on the main (user-interface) thread, later, in order.
class MainThread {
public:
    virtual ~MainThread() = default;
    virtual void post(std::function<void()> work) = 0;
};

struct Services {
    std::shared_ptr<Bundles> bundles;
    std::shared_ptr<Files> files;
    std::shared_ptr<Processes> processes;
    std::shared_ptr<RunningApplications> runningApplications;
    std::shared_ptr<Preferences> preferences;
    std::shared_ptr<Workspace> workspace;
    std::shared_ptr<MainThread> mainThread;
    std::string ownBundlePath;  // the launcher's own application bundle
};

}  // namespace vornik
