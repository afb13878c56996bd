#include "launch_environment.h"
#include "launch_error.h"
#include "launch_failure.h"
#include "status_texts.h"
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
        {*posix86, rosettaRequiredText},
        {make("NSCocoaErrorDomain", 4, "The launch failed.", posix86), rosettaRequiredText},
        {*posix2, "No such file"},
        {make("NSCocoaErrorDomain", 86, "Cocoa 86"), "Cocoa 86"},
        {make("NSCocoaErrorDomain", 4, "Wrapped", posix2), "Wrapped"},
        {make("NSCocoaErrorDomain", 4, "Wrapped", other86), "Wrapped"},
        // Only one level down counts.
        {make("A", 1, "Two deep", std::make_shared<const LaunchFailure>(make("B", 2, "b", posix86))),
         "Two deep"},
        {failure(LaunchError::missingRuntime), missingRuntimeText},
    };
    for (const Case& c : cases) EXPECT_EQ(launchFailureStatus(c.failure), c.status) << c.failure.description;
}

TEST(LaunchErrors, CarryTheirMessagesAndPositions) {
    struct Case {
        LaunchError error;
        int position;
        const char* message;
    } cases[] = {
        {LaunchError::wrongApp, 0, wrongAppText},
        {LaunchError::missingSteam, 1, missingSteamText},
        {LaunchError::missingRuntime, 2, missingRuntimeText},
        {LaunchError::logCreation, 3, logCreationText},
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
        std::string text;
    } cases[] = {
        {9, true, stoppedOnSignalText(9)},
        {0, true, stoppedOnSignalText(0)},
        {78, true, stoppedOnSignalText(78)},
        {0, false, readyText},
        {78, false, noProfileMatchedText},
        {1, false, exitedWithStatusText(1)},
        {255, false, exitedWithStatusText(255)},
        {-1, false, exitedWithStatusText(-1)},
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
