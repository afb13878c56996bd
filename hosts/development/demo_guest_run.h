#pragma once
// Running the demo guest program from the stand-in's own bundle: the part of
// the development stand-in that plays the game's role, so the session log
// shows guest output as it will with the real runtime host.

#include <string>

namespace torvel_stand_in {

// Where the demo lies, relative to the stand-in's executable
// (Torvel.app/Contents/MacOS/torvel): Torvel.app/Contents/Resources/demo/demo-guest.
std::string demoGuestPath(const std::string& ownExecutable);

// The stand-in's own executable file, absolute, or argv0 when that cannot be told.
std::string ownExecutablePath(const char* argv0);

struct DemoOutcome {
    enum Kind { notRun, exited, signalled } kind = notRun;
    int value = 0;  // the exit status or the signal number
};

// Runs the program at path, without arguments, with the stand-in's environment,
// working folder and standard streams, directly or, when this machine's
// kernel cannot run it, under qemu-i386 from PATH; waits for its end. What
// it does, and why it does not run, it says on standard error.
DemoOutcome runDemoGuest(const std::string& path);

}  // namespace torvel_stand_in
