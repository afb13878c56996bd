#include "run_program.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace vornik::testing {

ProgramRun runProgram(const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment) {
    int pipe[2];
    if (::pipe(pipe) != 0) throw std::runtime_error("no pipe");
    for (int end : pipe) ::fcntl(end, F_SETFD, FD_CLOEXEC);  // only the copies on 1 and 2 reach the program
    std::vector<std::string> words = arguments;
    std::vector<std::string> variables;
    for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
    std::vector<char*> argv, envp;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    for (auto& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], 2);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    ProgramRun run;
    if (error != 0) {
        ::close(pipe[0]);
        run.output = "cannot start " + arguments.front();
        return run;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipe[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        run.output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipe[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
    return run;
}

std::string printedValue(const std::string& output, const std::string& label) {
    const std::string start = label + ":";
    std::size_t at = 0;
    while (at < output.size()) {
        std::size_t end = output.find('\n', at);
        if (end == std::string::npos) end = output.size();
        if (output.compare(at, start.size(), start) == 0) {
            std::size_t value = at + start.size();
            while (value < end && output[value] == ' ') ++value;
            return output.substr(value, end - value);
        }
        at = end + 1;
    }
    return {};
}

std::string builtCommandLine() {
    return std::string(VORNIK_BUILT_BUNDLE) + "/Contents/MacOS/vornik-launcher-cli";
}

ProgramRun runCommandLine(const std::string& home, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{builtCommandLine()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const char* path = std::getenv("PATH");
    return runProgram(words, {{"HOME", home}, {"PATH", path ? path : "/usr/bin:/bin"}});
}

}  // namespace vornik::testing
