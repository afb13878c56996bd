#pragma once
// Running applications by bundle identifier on Linux, which keeps no list of
// them: the processes (from /proc) whose executable lies inside an
// application bundle whose Info.plist carries the identifier. On macOS the
// system's own list serves (launcher/platform/apple).

#include "services.h"

namespace vornik {

class ProcessRunningApplications : public RunningApplications {
public:
    std::vector<RunningApplication> withIdentifier(const std::string& identifier) override;
    // Linux has no common way to bring another program to the front, so
    // nothing happens.
    void activate(const RunningApplication& application) override;
};

// The innermost ".app" folder (any letter case) that contains `executablePath`.
std::string enclosingBundle(const std::string& executablePath);

}  // namespace vornik
