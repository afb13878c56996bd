#include "launch_failure.h"

#include "status_texts.h"

#include <cstring>

namespace vornik {

LaunchFailure LaunchFailure::posix(int errorNumber) {
    return LaunchFailure{posixErrorDomain, errorNumber, nullptr, std::strerror(errorNumber)};
}

LaunchFailure LaunchFailure::posix(int errorNumber, const std::string& context) {
    LaunchFailure failure = posix(errorNumber);
    failure.description = context + ": " + failure.description;
    return failure;
}

namespace {
bool isBadArchitecture(const LaunchFailure& failure) {
    return failure.domain == posixErrorDomain && failure.code == badArchitectureCode;
}
}  // namespace

bool needsRosetta(const LaunchFailure& failure) {
    if (isBadArchitecture(failure)) return true;
    return failure.underlying && isBadArchitecture(*failure.underlying);
}

std::string launchFailureStatus(const LaunchFailure& failure) {
    return needsRosetta(failure) ? rosettaRequiredText : failure.description;
}

}  // namespace vornik
