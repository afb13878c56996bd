#include "launch_environment.h"
#include "launch_error.h"
#include "launch_failure.h"
#include "termination_text.h"

#include <gtest/gtest.h>

#include <memory>

namespace vornik {
namespace {

LaunchFailure make(std::string domain, int code, std::string description,
                   std::shared_ptr<const LaunchFailure> underlying = nullptr) {
    return LaunchFailure{std::move(domain), code, std::move(underlying), std::move(description)};
}

TEST(RosettaRule, AppliesToCode86UnderPosixDirectlyOrUnderneath) {
    auto posix86 = std::make_shared<const LaunchFailure>(make("NSPOSIXErrorDomain", 86, "Bad CPU type"));
    auto posix2 = std::make_shared<const LaunchFailure>(make("NSPOSIXErrorDomain", 2, "No such file"));
    auto other86 = std::make_shared<const LaunchFailure>(make("NSOSStatusErrorDomain", 86, "x"));
    struct Case {
        LaunchFailure failure;
        std::string status;
    } cases[] = {
        {*posix86, "Rosetta is required to run the compatibility runtime."},
        {make("NSCocoaErrorDomain", 4, "The launch failed.", posix86),
         "Rosetta is required to run the compatibility runtime."},
        {*posix2, "No such file"},
        {make("NSCocoaErrorDomain", 86, "Cocoa 86"), "Cocoa 86"},
        {make("NSCocoaErrorDomain", 4, "Wrapped", posix2), "Wrapped"},
        {make("NSCocoaErrorDomain", 4, "Wrapped", other86), "Wrapped"},
        // Only one level down counts.
        {make("A", 1, "Two deep", std::make_shared<const LaunchFailure>(make("B", 2, "b", posix86))),
         "Two deep"},
        {failure(LaunchError::missingRuntime),
         "The compatibility runtime is missing. Replace this launcher with a complete copy."},
    };
    for (const Case& c : cases) EXPECT_EQ(launchFailureStatus(c.failure), c.status) << c.failure.description;
}

TEST(LaunchErrors, CarryTheirMessagesAndPositions) {
    struct Case {
        LaunchError error;
        int position;
        const char* message;
    } cases[] = {
        {LaunchError::wrongApp, 0, "Choose the 32-bit Vornik Complete Edition Mac application (.app)."},
        {LaunchError::missingSteam, 1, "Open Steam and sign in, then click Play again."},
        {LaunchError::missingRuntime, 2,
         "The compatibility runtime is missing. Replace this launcher with a complete copy."},
        {LaunchError::logCreation, 3, "The launcher could not create its session log."},
    };
    for (const Case& c : cases) {
        LaunchFailure value = failure(c.error);
        EXPECT_EQ(value.description, c.message);
        EXPECT_EQ(value.code, c.position);
        EXPECT_FALSE(value.underlying);
        EXPECT_TRUE(isLaunchError(value, c.error));
        EXPECT_FALSE(needsRosetta(value));
    }
    EXPECT_FALSE(isLaunchError(failure(LaunchError::wrongApp), LaunchError::logCreation));
    EXPECT_FALSE(isLaunchError(LaunchFailure::posix(0), LaunchError::wrongApp));
}

TEST(TerminationText, FirstMatchingRowWins) {
    struct Case {
        int status;
        bool signaled;
        const char* text;
    } cases[] = {
        {9, true, "Vornik stopped on signal 9. See the session log."},
        {0, true, "Vornik stopped on signal 0. See the session log."},
        {78, true, "Vornik stopped on signal 78. See the session log."},
        {0, false, "Ready to play"},
        {78, false, "No compatibility profile matched this Vornik build. See the session log."},
        {1, false, "Vornik exited with status 1. See the session log."},
        {255, false, "Vornik exited with status 255. See the session log."},
        {-1, false, "Vornik exited with status -1. See the session log."},
    };
    for (const Case& c : cases) EXPECT_EQ(terminationText(c.status, c.signaled), c.text);
}

TEST(LaunchEnvironment, SetsTheFourVariablesOverInheritedOnesAndKeepsTheRest) {
    std::map<std::string, std::string> inherited{{"TORVEL_VORNIK_WINDOW_MODE", "inherited"},
                                                 {"TORVEL_VORNIK_DIRECT", "0"},
                                                 {"PATH", "/bin"},
                                                 {"TORVEL_VORNIK_OTHER", "kept"}};
    auto off = launchEnvironment(inherited, LaunchOptions{false, false, false});
    EXPECT_EQ(off, (std::map<std::string, std::string>{{"PATH", "/bin"},
                                                       {"TORVEL_VORNIK_ADAPTIVE_TRIGGERS", "0"},
                                                       {"TORVEL_VORNIK_DIRECT", "1"},
                                                       {"TORVEL_VORNIK_OTHER", "kept"},
                                                       {"TORVEL_VORNIK_SKIP_STARTUP_VIDEOS", "0"},
                                                       {"TORVEL_VORNIK_WINDOW_MODE", "fullscreen"}}));
    auto on = launchEnvironment(inherited, LaunchOptions{true, true, true});
    EXPECT_EQ(on["TORVEL_VORNIK_SKIP_STARTUP_VIDEOS"], "1");
    EXPECT_EQ(on["TORVEL_VORNIK_WINDOW_MODE"], "windowed");
    EXPECT_EQ(on["TORVEL_VORNIK_ADAPTIVE_TRIGGERS"], "1");
}

}  // namespace
}  // namespace vornik
