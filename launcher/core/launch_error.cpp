#include "launch_error.h"

#include "status_texts.h"

namespace vornik {

std::string_view message(LaunchError error) {
    switch (error) {
    case LaunchError::wrongApp:
        return wrongAppText;
    case LaunchError::missingSteam:
        return missingSteamText;
    case LaunchError::missingRuntime:
        return missingRuntimeText;
    case LaunchError::logCreation:
        return logCreationText;
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
