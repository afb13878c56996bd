#pragma once
// Runs a program of the build (the command-line front end) the way a user's
// shell would, and keeps what it printed.

#include <map>
#include <string>
#include <vector>

namespace vornik::testing {

struct ProgramRun {
    int exitStatus = -1;  // -1 when it did not exit normally
    std::string output;   // standard output and standard error, interleaved
};

// Runs `arguments` (the program's path first) with exactly the variables of
// `environment`, and waits for its end.
ProgramRun runProgram(const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment);

// The value after "<label>:" and any spaces on the first line that starts
// with it ("" when no line does).
std::string printedValue(const std::string& output, const std::string& label);

// The command-line front end of the built application bundle.
std::string builtCommandLine();

// Runs that front end with `arguments` as a user's shell would, with `home`
// as the home folder and this process's PATH.
ProgramRun runCommandLine(const std::string& home, const std::vector<std::string>& arguments);

}  // namespace vornik::testing
