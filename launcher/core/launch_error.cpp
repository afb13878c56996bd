#include "launch_error.h"

namespace vornik {

std::string_view message(LaunchError error) {
    switch (error) {
    case LaunchError::wrongApp:
        return "Choose the 32-bit Vornik Complete Edition Mac application (.app).";
    case LaunchError::missingSteam:
        return "Open Steam and sign in, then click Play again.";
    case LaunchError::missingRuntime:
        return "The compatibility runtime is missing. Replace this launcher with a complete copy.";
    case LaunchError::logCreation:
        return "The launcher could not create its session log.";
    }
    return {};
}

LaunchFailure failure(LaunchError error) {
    return LaunchFailure{launchErrorDomain, static_cast<int>(error), nullptr,
                         std::string(message(error))};
}

bool isLaunchError(const LaunchFailure& failure, LaunchError error) {
    return failure.domain == launchErrorDomain && failure.code == static_cast<int>(error);
}

}  // namespace vornik
