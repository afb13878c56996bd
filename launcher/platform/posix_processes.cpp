#include "posix_processes.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vornik {

namespace {

class PosixChild : public Child {
public:
    explicit PosixChild(pid_t pid) : pid_(pid) {}
    int processId() const override { return pid_; }

private:
    pid_t pid_;
};

// Keeps the strings alive and offers them as the NULL-terminated array exec wants.
class CStringArray {
public:
    explicit CStringArray(std::vector<std::string> strings) : strings_(std::move(strings)) {
        for (auto& s : strings_) pointers_.push_back(s.data());
        pointers_.push_back(nullptr);
    }
    char* const* data() { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

ChildEnd waitForEnd(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return ChildEnd{-1, false};
    }
    if (WIFSIGNALED(status)) return ChildEnd{WTERMSIG(status), true};
    return ChildEnd{WEXITSTATUS(status), false};
}

// Signals the child should start with: nothing blocked, every handler at its default.
void resetSignals(posix_spawnattr_t& attributes) {
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
}

int spawn(pid_t& pid, const std::string& executable, bool searchPath,
          posix_spawn_file_actions_t& actions, std::vector<std::string> arguments,
          std::vector<std::string> environment) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    resetSignals(attributes);
    CStringArray argv(std::move(arguments));
    CStringArray envp(std::move(environment));
    int error = searchPath ? ::posix_spawnp(&pid, executable.c_str(), &actions, &attributes,
                                            argv.data(), envp.data())
                           : ::posix_spawn(&pid, executable.c_str(), &actions, &attributes,
                                           argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    return error;
}

}  // namespace

std::map<std::string, std::string> PosixProcesses::environment() {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string text = *entry;
        std::size_t equals = text.find('=');
        if (equals == std::string::npos || equals == 0) continue;
        variables.emplace(text.substr(0, equals), text.substr(equals + 1));
    }
    return variables;
}

Result<std::shared_ptr<Child>> PosixProcesses::launch(const ChildLaunch& request,
                                                      std::function<void(ChildEnd)> ended) {
    // A log descriptor that is itself 1 or 2 would make dup2 a no-op that keeps
    // its close-on-exec flag; move it out of the way first.
    int output = request.outputDescriptor;
    int moved = -1;
    if (output >= 0 && output <= 2) {
        moved = ::fcntl(output, F_DUPFD_CLOEXEC, 3);
        if (moved < 0) return LaunchFailure::posix(errno);
        output = moved;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
    }
    int error = 0;
    if (!request.workingDirectory.empty()) {
#if defined(__GLIBC__) || defined(__APPLE__)
        error = posix_spawn_file_actions_addchdir_np(&actions, request.workingDirectory.c_str());
#else
        error = ENOSYS;
#endif
    }

    std::vector<std::string> arguments{request.executable};
    arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
    std::vector<std::string> environment;
    for (const auto& [name, value] : request.environment) environment.push_back(name + "=" + value);

    pid_t pid = 0;
    if (error == 0)
        error = spawn(pid, request.executable, false, actions, std::move(arguments),
                      std::move(environment));
    posix_spawn_file_actions_destroy(&actions);
    if (moved >= 0) ::close(moved);
    if (error != 0)
        return LaunchFailure::posix(error, "The compatibility runtime could not be started");

    std::thread([pid, ended = std::move(ended)] { ended(waitForEnd(pid)); }).detach();
    return std::shared_ptr<Child>(std::make_shared<PosixChild>(pid));
}

bool spawnDetached(const std::vector<std::string>& command) {
    if (command.empty()) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> environment;
    for (char** entry = environ; entry && *entry; ++entry) environment.emplace_back(*entry);
    pid_t pid = 0;
    int error = spawn(pid, command.front(), true, actions, command, std::move(environment));
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    std::thread([pid] { waitForEnd(pid); }).detach();
    return true;
}

}  // namespace vornik
