#pragma once
// The runtime host's environment: the launcher's own, with the four
// TORVEL_VORNIK_* variables set from the option states at launch time.

#include <map>
#include <string>

namespace vornik {

struct LaunchOptions {
    bool skipStartupVideos = false;
    bool runInWindow = false;
    bool adaptiveTriggers = false;
};

std::map<std::string, std::string> launchEnvironment(std::map<std::string, std::string> inherited,
                                                     const LaunchOptions& options);

}  // namespace vornik
