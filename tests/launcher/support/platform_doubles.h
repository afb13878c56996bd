#pragma once
// Real platform services with one answer replaced, for the launch outcomes
// a test cannot bring about on this machine.

#include "posix_files.h"
#include "posix_processes.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace vornik::testing {

// Every new log gets the same name, so one left at that name stops the next.
class RepeatingUuidFiles : public PosixFiles {
public:
    static constexpr const char* uuid = "00000000-0000-4000-8000-000000000000";

    using PosixFiles::PosixFiles;
    std::string newUuidString() override { return uuid; }
};

// Every launch fails with the given failure.
class RefusingProcesses : public PosixProcesses {
public:
    explicit RefusingProcesses(LaunchFailure failure) : failure_(std::move(failure)) {}
    Result<std::shared_ptr<Child>> launch(const ChildLaunch&, std::function<void(ChildEnd)>) override {
        return failure_;
    }

private:
    LaunchFailure failure_;
};

}  // namespace vornik::testing
