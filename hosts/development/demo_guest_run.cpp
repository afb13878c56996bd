#include "demo_guest_run.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace torvel_stand_in {
namespace {

bool isFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The first executable file called name in a folder of PATH, or "".
std::string findOnPath(const char* name) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        if (!folder.empty()) {
            std::string candidate = folder + "/" + name;
            if (isFile(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        start = end + 1;
    }
    return "";
}

// Starts arguments[0] with these arguments; posix_spawn's own result: 0 or
// the error of starting (exec errors included).
int spawn(pid_t& pid, std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    // The guest starts with no signal blocked, whatever the stand-in inherited.
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    int error = ::posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    ::posix_spawnattr_destroy(&attributes);
    return error;
}

}  // namespace

std::string demoGuestPath(const std::string& ownExecutable) {
    // .../Torvel.app/Contents/MacOS/torvel -> .../Torvel.app/Contents
    std::string contents = ownExecutable.substr(0, ownExecutable.find_last_of('/'));
    contents = contents.substr(0, contents.find_last_of('/'));
    return contents + "/Resources/demo/demo-guest";
}

std::string ownExecutablePath(const char* argv0) {
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length > 0) return std::string(buffer, static_cast<std::size_t>(length));
    if (::realpath(argv0, buffer)) return buffer;
    return argv0;
}

DemoOutcome runDemoGuest(const std::string& path) {
    DemoOutcome outcome;
    if (!isFile(path)) {
        std::fprintf(stderr, "torvel stand-in: no demo guest program at %s, so none is run\n", path.c_str());
        return outcome;
    }
    std::fprintf(stderr, "torvel stand-in: running the demo guest program %s\n", path.c_str());
    // The child writes into the same log: what the stand-in wrote so far goes first.
    std::fflush(nullptr);

    pid_t pid = 0;
    // TORVEL_STAND_IN_QEMU=1 takes the emulator's road even where the kernel
    // runs the program itself, so both roads can be tried on one machine.
    const char* forceQemu = std::getenv("TORVEL_STAND_IN_QEMU");
    int error = forceQemu && std::strcmp(forceQemu, "1") == 0 ? ENOEXEC : spawn(pid, {path});
    if (error == ENOEXEC) {
        // This kernel cannot run 32-bit x86 programs: the emulator can.
        std::string qemu = findOnPath("qemu-i386");
        if (qemu.empty()) {
            std::fprintf(stderr,
                         "torvel stand-in: this machine cannot run the demo guest program itself and there "
                         "is no qemu-i386 on PATH, so none is run\n");
            return outcome;
        }
        std::fprintf(stderr, "torvel stand-in: under %s\n", qemu.c_str());
        error = spawn(pid, {qemu, path});
    }
    if (error != 0) {
        std::fprintf(stderr, "torvel stand-in: cannot start the demo guest program: %s\n", std::strerror(error));
        return outcome;
    }

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            std::fprintf(stderr, "torvel stand-in: lost the demo guest program: %s\n", std::strerror(errno));
            return outcome;
        }
    }
    if (WIFSIGNALED(status)) {
        outcome.kind = DemoOutcome::signalled;
        outcome.value = WTERMSIG(status);
        std::fprintf(stderr, "torvel stand-in: the demo guest program stopped on signal %d\n", outcome.value);
    } else {
        outcome.kind = DemoOutcome::exited;
        outcome.value = WEXITSTATUS(status);
        std::fprintf(stderr, "torvel stand-in: the demo guest program ended with status %d\n", outcome.value);
    }
    return outcome;
}

}  // namespace torvel_stand_in
