#pragma once
// The launcher's own errors. Each case has one fixed message (status_texts.h),
// which is what the status label shows when an action ends with it.

#include "launch_failure.h"

#include <string_view>

namespace vornik {

enum class LaunchError { wrongApp = 0, missingSteam = 1, missingRuntime = 2, logCreation = 3 };

inline constexpr const char* launchErrorDomain = "VornikLauncher.LaunchError";

std::string_view message(LaunchError error);

// The failure value of a launcher error: its own domain, its position as the
// code, its message as the description.
LaunchFailure failure(LaunchError error);

// The launcher error a failure stands for, when it is one of ours.
bool isLaunchError(const LaunchFailure& failure, LaunchError error);

}  // namespace vornik
