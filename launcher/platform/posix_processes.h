#pragma once
// Child processes through posix_spawn. Each child's end is awaited by a
// thread of its own, which reads the exit status and hands it on.

#include "services.h"

namespace vornik {

class PosixProcesses : public Processes {
public:
    std::map<std::string, std::string> environment() override;
    Result<std::shared_ptr<Child>> launch(const ChildLaunch& request,
                                          std::function<void(ChildEnd)> ended) override;
};

// Starts a helper program (file viewer, opener) and forgets it: its output
// goes nowhere and it is reaped in the background. False when it cannot start.
bool spawnDetached(const std::vector<std::string>& command);

}  // namespace vornik
