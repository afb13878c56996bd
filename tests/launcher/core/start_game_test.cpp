// Play with a real child: the development stand-in at the runtime host's path
// of a temporary launcher bundle, real processes, real session logs.
#include "bundle_identifiers.h"
#include "fixed_locations.h"
#include "fixture_bundles.h"
#include "launcher_world.h"
#include "platform_doubles.h"
#include "posix_files.h"
#include "posix_processes.h"
#include "scoped_variable.h"
#include "status_texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

namespace vornik {
namespace {

using namespace vornik::testing;

class StartGame : public ::testing::Test {
protected:
    StartGame() {
        world.installRuntime();
        gamePath = writeBundle(world.applications + "/" + gameFileName, validGame());
    }
    Launcher& readyLauncher() {
        Launcher& launcher = world.start();
        launcher.applyStoredOptions();
        launcher.loadLatestLog();
        launcher.findGame();
        return launcher;
    }
    bool logsFolderExists() const { return std::filesystem::exists(world.logsFolder()); }

    LauncherWorld world;
    std::string gamePath;
};

TEST_F(StartGame, TheChildGetsExactlyTheContractAndItsOutputLandsInTheLog) {
    ScopedVariable inheritedMode("TORVEL_VORNIK_WINDOW_MODE", "inherited");
    ScopedVariable passedThrough("VORNIK_TEST_PASSED_THROUGH", "unchanged value");
    ScopedVariable report("TORVEL_STAND_IN_REPORT", "VORNIK_TEST_PASSED_THROUGH");
    Launcher& launcher = readyLauncher();
    world.controls.windowed.checked = CheckState::on;
    world.controls.adaptiveTriggers.checked = CheckState::mixed;  // counts as off

    launcher.startGame();
    EXPECT_EQ(world.controls.status.text, runningText);
    EXPECT_TRUE(launcher.isRunning());
    EXPECT_TRUE(world.controls.runControlsDisabled());
    EXPECT_TRUE(world.controls.logs.enabled);
    ASSERT_TRUE(launcher.lastLog());

    ASSERT_TRUE(world.waitForEnd());
    EXPECT_EQ(world.controls.status.text, readyText);
    EXPECT_TRUE(world.controls.runControlsEnabled());
    EXPECT_TRUE(world.controls.logs.enabled);

    const std::string log = readFile(*launcher.lastLog());
    const std::string expected =
        "torvel stand-in: development stand-in for the runtime host, no game is run\n"
        "argument 1: -v\n"
        "argument 2: " + gamePath + "\n"
        "working folder: " + world.applications + "\n"
        "TORVEL_VORNIK_DIRECT=1\n"
        "TORVEL_VORNIK_SKIP_STARTUP_VIDEOS=1\n"
        "TORVEL_VORNIK_WINDOW_MODE=windowed\n"
        "TORVEL_VORNIK_ADAPTIVE_TRIGGERS=0\n"
        "VORNIK_TEST_PASSED_THROUGH=unchanged value\n"
        "torvel stand-in: standard error reaches the log as well\n"
        "torvel stand-in: no demo guest program at " + world.launcherBundle +
        "/Contents/Helpers/Torvel.app/Contents/Resources/demo/demo-guest, so none is run\n"
        "torvel stand-in: ending with status 0\n";
    EXPECT_EQ(log, expected);
    EXPECT_EQ(world.logFiles(), std::vector<std::string>{*launcher.lastLog()});
}

TEST_F(StartGame, EachWayOfEndingHasItsText) {
    struct Case {
        const char* variable;
        const char* value;
        std::string text;
    } cases[] = {
        {"TORVEL_STAND_IN_EXIT_STATUS", "0", readyText},
        {"TORVEL_STAND_IN_EXIT_STATUS", "78", noProfileMatchedText},
        {"TORVEL_STAND_IN_EXIT_STATUS", "1", exitedWithStatusText(1)},
        {"TORVEL_STAND_IN_SIGNAL", "9", stoppedOnSignalText(9)},
    };
    Launcher& launcher = readyLauncher();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScopedVariable ending(c.variable, c.value);
        launcher.startGame();
        EXPECT_EQ(world.controls.status.text, runningText);
        ASSERT_TRUE(world.waitForEnd());
        EXPECT_EQ(world.controls.status.text, c.text);
        // The running text always comes first, then the end.
        EXPECT_EQ(world.controls.status.history.end()[-2], runningText);
        EXPECT_TRUE(world.controls.runControlsEnabled());
        EXPECT_TRUE(world.controls.logs.enabled);
    }
    EXPECT_EQ(world.logFiles().size(), 4u);
}

TEST_F(StartGame, PlayDoesNothingWithoutAGameOrWhileItsChildRuns) {
    Launcher& fresh = world.start();
    fresh.startGame();
    EXPECT_TRUE(world.controls.status.history.empty());
    EXPECT_FALSE(logsFolderExists());

    Launcher& launcher = readyLauncher();
    const std::string hold = world.root / "hold";
    writeFile(hold, "");
    ScopedVariable holding("TORVEL_STAND_IN_HOLD_FILE", hold);
    launcher.startGame();
    ASSERT_TRUE(launcher.isRunning());
    const std::string firstLog = *launcher.lastLog();
    const std::size_t statusChanges = world.controls.status.history.size();

    launcher.startGame();
    EXPECT_EQ(world.controls.status.history.size(), statusChanges);
    EXPECT_EQ(world.logFiles().size(), 1u);
    EXPECT_EQ(launcher.lastLog(), firstLog);

    std::filesystem::remove(hold);
    ASSERT_TRUE(world.waitForEnd());
    launcher.startGame();
    ASSERT_TRUE(world.waitForEnd());
    EXPECT_NE(launcher.lastLog(), firstLog);
    EXPECT_EQ(world.logFiles().size(), 2u);
}

TEST_F(StartGame, ARuntimeRunningElsewhereIsReportedWithoutALog) {
    Launcher& launcher = readyLauncher();
    RunningBundle other(world.root / "Other/Torvel.app", runtimeIdentifier);
    launcher.startGame();
    EXPECT_EQ(world.controls.status.text, alreadyRunningText);
    EXPECT_FALSE(launcher.isRunning());
    EXPECT_FALSE(logsFolderExists());
    EXPECT_TRUE(world.controls.runControlsEnabled());
}

TEST_F(StartGame, TheSteamEditionNeedsTheSteamClient) {
    BundleContents steam = validGame();
    steam.steamMarker = true;
    writeBundle(gamePath, steam);
    Launcher& launcher = readyLauncher();
    launcher.startGame();
    EXPECT_EQ(world.controls.status.text, missingSteamText);
    EXPECT_FALSE(logsFolderExists());

    RunningBundle client(world.root / "Steam.app", steamIdentifier);
    launcher.startGame();
    EXPECT_EQ(world.controls.status.text, runningText);
    ASSERT_TRUE(world.waitForEnd());
    EXPECT_EQ(world.controls.status.text, readyText);
}

TEST_F(StartGame, FailuresBeforeTheLogLeaveNoLog) {
    const std::string runtime = world.launcherBundle + "/" + runtimeExecutablePath;
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::string text;
    } cases[] = {
        {"runtime_not_executable",
         [&] { std::filesystem::permissions(runtime, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write); },
         missingRuntimeText},
        {"runtime_missing", [&] { std::filesystem::remove(runtime); }, missingRuntimeText},
        {"game_replaced",
         [&] { writeBundle(gamePath, [] { BundleContents s = validGame(); s.identifier = "com.example.impostor"; return s; }()); },
         wrongAppText},
    };
    Launcher& launcher = readyLauncher();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        launcher.startGame();
        EXPECT_EQ(world.controls.status.text, c.text);
        EXPECT_FALSE(launcher.isRunning());
        EXPECT_FALSE(logsFolderExists());
        EXPECT_EQ(launcher.game(), gamePath);
        EXPECT_TRUE(world.controls.runControlsEnabled());
    }
}

TEST_F(StartGame, ALogFolderThatCannotBeMadeShowsThePlatformError) {
    writeFile(world.home + "/Library", "not a folder");
    Launcher& launcher = readyLauncher();
    launcher.startGame();
    EXPECT_FALSE(launcher.isRunning());
    EXPECT_FALSE(launcher.lastLog());
    EXPECT_FALSE(world.controls.logs.enabled);
    EXPECT_NE(world.controls.status.text.find("could not be created"), std::string::npos)
        << world.controls.status.text;
}

TEST_F(StartGame, ALaunchFailureAfterTheLogKeepsTheEmptyLog) {
    writeFile(world.launcherBundle + "/" + runtimeExecutablePath, std::string(64, '\x01'));
    Launcher& launcher = readyLauncher();
    launcher.startGame();
    EXPECT_FALSE(launcher.isRunning());
    ASSERT_TRUE(launcher.lastLog());
    EXPECT_EQ(readFile(*launcher.lastLog()), "");
    EXPECT_TRUE(world.controls.logs.enabled);
    EXPECT_TRUE(world.controls.runControlsEnabled());
    EXPECT_NE(world.controls.status.text, runningText);
    EXPECT_NE(world.controls.status.text, rosettaRequiredText);
    EXPECT_NE(world.controls.status.text.find("could not be started"), std::string::npos)
        << world.controls.status.text;
}

// A platform whose log cannot be opened for writing; everything else is real.
class UnopenableLogFiles : public PosixFiles {
public:
    using PosixFiles::PosixFiles;
    Result<std::unique_ptr<WritableFile>> openForWriting(const std::string&) override {
        return LaunchFailure{"NSCocoaErrorDomain", 513, nullptr, "You don't have permission to write the log."};
    }
};

TEST_F(StartGame, LateFailuresKeepTheNewLogAndChangeNoControl) {
    const auto posix = [](int code, const char* description) {
        return LaunchFailure{"NSPOSIXErrorDomain", code, nullptr, description};
    };
    const auto wrapping = [](LaunchFailure inner) {
        return LaunchFailure{"NSCocoaErrorDomain", 4, std::make_shared<const LaunchFailure>(std::move(inner)),
                             "The launch failed."};
    };
    struct Case {
        const char* name;
        std::optional<LaunchFailure> launchFailure;  // nothing: the log cannot be opened
        std::string text;
    } cases[] = {
        {"log_not_opened", std::nullopt, "You don't have permission to write the log."},
        {"bad_architecture", posix(86, "Bad CPU type in executable"), rosettaRequiredText},
        {"bad_architecture_underneath", wrapping(posix(86, "Bad CPU type in executable")),
         rosettaRequiredText},
        {"other_posix_error", posix(13, "Permission denied"), "Permission denied"},
        {"other_error_over_a_posix_one", wrapping(posix(13, "Permission denied")), "The launch failed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherWorld world;
        world.installRuntime();
        writeBundle(world.applications + "/" + gameFileName, validGame());
        if (c.launchFailure)
            world.services.processes = std::make_shared<RefusingProcesses>(*c.launchFailure);
        else
            world.services.files =
                std::make_shared<UnopenableLogFiles>(FolderOverrides{world.home, world.applications});
        Launcher& launcher = world.start();
        launcher.applyStoredOptions();
        launcher.loadLatestLog();
        launcher.findGame();
        ASSERT_FALSE(world.controls.logs.enabled);

        launcher.startGame();
        EXPECT_EQ(world.controls.status.text, c.text);
        EXPECT_FALSE(launcher.isRunning());
        ASSERT_TRUE(launcher.lastLog());
        EXPECT_EQ(world.logFiles(), std::vector<std::string>{*launcher.lastLog()});
        EXPECT_EQ(readFile(*launcher.lastLog()), "");
        EXPECT_TRUE(world.controls.logs.enabled);
        EXPECT_TRUE(world.controls.runControlsEnabled());
    }
}

TEST_F(StartGame, AnEndArrivingForAGoneLauncherTouchesNothing) {
    Launcher& launcher = readyLauncher();
    launcher.startGame();
    ASSERT_TRUE(launcher.isRunning());
    world.launcher.reset();
    // The end is still delivered to the main thread, and finds nobody there.
    bool delivered = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!delivered && std::chrono::steady_clock::now() < deadline) {
        delivered = world.mainThread->runPending() > 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(delivered);
    EXPECT_EQ(world.controls.status.text, runningText);
    EXPECT_TRUE(world.controls.runControlsDisabled());
}

}  // namespace
}  // namespace vornik
