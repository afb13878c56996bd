#include "launch_environment.h"

#include "environment_variables.h"

namespace vornik {

std::map<std::string, std::string> launchEnvironment(std::map<std::string, std::string> inherited,
                                                     const LaunchOptions& options) {
    inherited[directVariable] = "1";
    inherited[skipStartupVideosVariable] = options.skipStartupVideos ? "1" : "0";
    inherited[windowModeVariable] = options.runInWindow ? "windowed" : "fullscreen";
    inherited[adaptiveTriggersVariable] = options.adaptiveTriggers ? "1" : "0";
    return inherited;
}

}  // namespace vornik
