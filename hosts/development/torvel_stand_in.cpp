// Development stand-in for the Torvel runtime host. NOT the runtime host: it
// runs no game. It honours the launch contract so the launcher can be run and
// tested end to end on any machine: it reports what it received (arguments,
// working folder, the four TORVEL_VORNIK_* variables) on standard output and
// standard error, which the launcher points into the session log. Then, in
// the game's place, it runs the demo guest program when the guest-elf build
// has put one into this bundle (Contents/Resources/demo/demo-guest, a 32-bit
// program on our guest libraries), with the same standard output and error,
// so the guest's output lands in the log too. It ends as it is asked to:
//   TORVEL_STAND_IN_EXIT_STATUS=<n>   exit with status n (default: the demo's
//                                     status, or 0 when no demo ran)
//   TORVEL_STAND_IN_QEMU=1            run the demo under qemu-i386 even where
//                                     the kernel could run it itself
//   TORVEL_STAND_IN_SIGNAL=<n>        end by raising signal n instead
//   TORVEL_STAND_IN_HOLD_FILE=<path>  after the demo, wait (at most 60 s) while that file exists
//   TORVEL_STAND_IN_REPORT=<name>     also report the variable of that name

#include "demo_guest_run.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <signal.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const char* const reportedVariables[] = {
    "TORVEL_VORNIK_DIRECT",
    "TORVEL_VORNIK_SKIP_STARTUP_VIDEOS",
    "TORVEL_VORNIK_WINDOW_MODE",
    "TORVEL_VORNIK_ADAPTIVE_TRIGGERS",
};

bool exists(const char* path) {
    struct stat info {};
    return ::stat(path, &info) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("torvel stand-in: development stand-in for the runtime host, no game is run\n");
    for (int i = 1; i < argc; ++i) std::printf("argument %d: %s\n", i, argv[i]);
    char folder[4096];
    std::printf("working folder: %s\n", ::getcwd(folder, sizeof folder) ? folder : "(unknown)");
    for (const char* name : reportedVariables) {
        const char* value = std::getenv(name);
        std::printf("%s=%s\n", name, value ? value : "(unset)");
    }
    if (const char* extra = std::getenv("TORVEL_STAND_IN_REPORT")) {
        const char* value = std::getenv(extra);
        std::printf("%s=%s\n", extra, value ? value : "(unset)");
    }
    std::fflush(stdout);
    std::fprintf(stderr, "torvel stand-in: standard error reaches the log as well\n");

    using torvel_stand_in::DemoOutcome;
    const DemoOutcome demo =
        torvel_stand_in::runDemoGuest(torvel_stand_in::demoGuestPath(torvel_stand_in::ownExecutablePath(argv[0])));

    if (const char* hold = std::getenv("TORVEL_STAND_IN_HOLD_FILE")) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (exists(hold) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (const char* signal = std::getenv("TORVEL_STAND_IN_SIGNAL")) {
        std::fflush(nullptr);
        std::raise(std::atoi(signal));
    }
    const char* status = std::getenv("TORVEL_STAND_IN_EXIT_STATUS");
    if (!status && demo.kind == DemoOutcome::signalled) {
        // A guest that crashes takes the host down with it.
        std::printf("torvel stand-in: ending on signal %d\n", demo.value);
        std::fflush(nullptr);
        std::signal(demo.value, SIG_DFL);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, demo.value);
        ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
        std::raise(demo.value);
        // Not a signal that ends a process: never report a crashed guest as a normal end.
        return 128 + demo.value;
    }
    int code = status ? std::atoi(status) : demo.kind == DemoOutcome::exited ? demo.value : 0;
    std::printf("torvel stand-in: ending with status %d\n", code);
    return code;
}
