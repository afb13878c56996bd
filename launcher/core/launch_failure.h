#pragma once
// The value every failed launcher action ends with. Platform failures keep
// their domain and code untouched (errno values under the POSIX domain), the
// launcher's own failures are LaunchError values; either way the status label
// shows `description`.

#include <memory>
#include <string>
#include <utility>
#include <variant>

namespace vornik {

inline constexpr const char* posixErrorDomain = "NSPOSIXErrorDomain";

// The code the platform reports for an executable whose processor cannot run
// here, which is how a missing Rosetta shows itself.
inline constexpr int badArchitectureCode = 86;

struct LaunchFailure {
    std::string domain;
    int code = 0;
    std::shared_ptr<const LaunchFailure> underlying;
    std::string description;

    static LaunchFailure posix(int errorNumber);
    static LaunchFailure posix(int errorNumber, const std::string& context);
};

// True when the failure or its underlying failure says the executable's
// architecture cannot run: the launch needs Rosetta.
bool needsRosetta(const LaunchFailure& failure);

// The status text a failed launch shows.
std::string launchFailureStatus(const LaunchFailure& failure);

// Either a value or the failure that prevented it.
template <typename T>
class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(LaunchFailure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    const LaunchFailure& failure() const { return std::get<1>(state_); }

private:
    std::variant<T, LaunchFailure> state_;
};

}  // namespace vornik
