#pragma once
// Running applications by bundle identifier: the processes whose executable
// lies inside an application bundle whose Info.plist carries the identifier.
// Linux lists processes through /proc, macOS through libproc.

#include "services.h"

namespace vornik {

class ProcessRunningApplications : public RunningApplications {
public:
    std::vector<RunningApplication> withIdentifier(const std::string& identifier) override;
    // macOS opens the bundle again, which brings a running application to the
    // front; elsewhere there is no common way, so nothing happens.
    void activate(const RunningApplication& application) override;
};

// The innermost ".app" folder (any letter case) that contains `executablePath`.
std::string enclosingBundle(const std::string& executablePath);

}  // namespace vornik
