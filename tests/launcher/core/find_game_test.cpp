// Finding, adopting and choosing the game, on a temporary home folder and a
// temporary system applications folder.
#include "fixed_locations.h"
#include "fixture_bundles.h"
#include "launcher_world.h"
#include "preference_keys.h"
#include "status_texts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vornik {
namespace {

using namespace vornik::testing;

struct GamePlaces {
    std::string inApplications() { return world.applications + "/" + gameFileName; }
    std::string inHomeApplications() { return world.home + "/Applications/" + gameFileName; }
    std::string inSteam() {
        return world.home + "/" + steamGameDirectory + "/" + gameFileName;
    }
    std::string storedPath() { return world.root / "Elsewhere/Stored.app"; }
    std::string knownToTheSystemOnly() { return world.home + "/Applications/Games/Old Vornik.app"; }

    LauncherWorld world;
};

class FindGame : public ::testing::Test, public GamePlaces {};

TEST_F(FindGame, TakesTheFirstCandidateThatVerifiesInTheFixedOrder) {
    BundleContents broken = validGame();
    broken.identifier = "com.example.other";
    struct Case {
        const char* name;
        std::vector<std::string> valid;
        std::vector<std::string> invalid;
        bool store;
        std::function<std::string(GamePlaces&)> expected;
    };
    // Each case runs in a world of its own.
    const std::vector<Case> cases = {
        {"stored_wins", {"stored", "apps", "home", "steam"}, {}, true, [](GamePlaces& t) { return t.storedPath(); }},
        {"apps_before_steam", {"apps", "steam"}, {}, false, [](GamePlaces& t) { return t.inApplications(); }},
        {"home_before_steam", {"home", "steam"}, {}, false, [](GamePlaces& t) { return t.inHomeApplications(); }},
        {"invalid_stored_skipped", {"steam"}, {"stored"}, true, [](GamePlaces& t) { return t.inSteam(); }},
        {"invalid_apps_skipped", {"home"}, {"apps"}, false, [](GamePlaces& t) { return t.inHomeApplications(); }},
        {"system_lookup_last", {"lookup"}, {}, false, [](GamePlaces& t) { return t.knownToTheSystemOnly(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GamePlaces test;
        auto place = [&](const std::string& which) {
            if (which == "stored") return test.storedPath();
            if (which == "apps") return test.inApplications();
            if (which == "home") return test.inHomeApplications();
            if (which == "steam") return test.inSteam();
            return test.knownToTheSystemOnly();
        };
        for (const auto& which : c.valid) writeBundle(place(which), validGame());
        for (const auto& which : c.invalid) writeBundle(place(which), broken);
        if (c.store) test.world.preferences->setString(gamePathKey, test.storedPath());

        Launcher& launcher = test.world.start();
        launcher.findGame();
        const std::string expected = c.expected(test);
        EXPECT_EQ(launcher.game(), expected);
        EXPECT_EQ(test.world.controls.path.text, expected);
        EXPECT_EQ(test.world.controls.path.toolTip, expected);
        EXPECT_EQ(test.world.preferences->stringForKey(gamePathKey), expected);
        EXPECT_EQ(test.world.controls.status.text, readyText);
        EXPECT_TRUE(test.world.controls.play.enabled);
    }
}

TEST_F(FindGame, NothingFoundShowsTheHintAndDisablesPlay) {
    world.preferences->setString(gamePathKey, world.root / "gone.app");
    Launcher& launcher = world.start();
    launcher.findGame();
    EXPECT_FALSE(launcher.game());
    EXPECT_EQ(world.controls.path.text, noCopySelectedText);
    EXPECT_EQ(world.controls.status.text, chooseDownloadedText);
    EXPECT_FALSE(world.controls.play.enabled);
    EXPECT_EQ(world.preferences->stringForKey(gamePathKey), world.root / "gone.app");
}

TEST_F(FindGame, AStoredLinkIsAdoptedAsItsTarget) {
    std::string target = writeBundle(world.root / "Real/Vornik.app", validGame());
    std::filesystem::create_directory_symlink(target, world.root / "Link.app");
    world.preferences->setString(gamePathKey, world.root / "Link.app");
    Launcher& launcher = world.start();
    launcher.findGame();
    EXPECT_EQ(launcher.game(), target);
    EXPECT_EQ(world.controls.path.text, target);
    EXPECT_EQ(world.preferences->stringForKey(gamePathKey), target);
}

TEST_F(FindGame, SteamEditionIsAnnounced) {
    BundleContents steam = validGame();
    steam.steamMarker = true;
    writeBundle(inSteam(), steam);
    world.start().findGame();
    EXPECT_EQ(world.controls.status.text, steamEditionText);
    EXPECT_TRUE(world.controls.play.enabled);
}

TEST_F(FindGame, ChoosingStartsInTheGamesFolderOrApplications) {
    Launcher& launcher = world.start();
    EXPECT_EQ(launcher.chooseGameStartFolder(), "/Applications");
    launcher.select(writeBundle(world.root / "Games/Vornik.app", validGame()));
    EXPECT_EQ(launcher.chooseGameStartFolder(), world.root / "Games");
}

TEST_F(FindGame, AChosenGameIsAdoptedAndAWrongOneChangesOnlyTheStatus) {
    std::string first = writeBundle(world.root / "First.app", validGame());
    BundleContents wrong = validGame();
    wrong.executable = thinExecutable(cpuX86_64, true);
    std::string other = writeBundle(world.root / "Other.app", wrong);
    std::shared_ptr<Launcher> launcher = (world.start(), world.launcher);

    Launcher::chooseGameEnded(launcher, true, first);
    EXPECT_EQ(launcher->game(), first);
    EXPECT_EQ(world.controls.status.text, readyText);

    Launcher::chooseGameEnded(launcher, true, other);
    EXPECT_EQ(launcher->game(), first);
    EXPECT_EQ(world.controls.path.text, first);
    EXPECT_TRUE(world.controls.play.enabled);
    EXPECT_EQ(world.controls.status.text, wrongAppText);
    EXPECT_EQ(world.preferences->stringForKey(gamePathKey), first);
}

TEST_F(FindGame, ACancelledPanelOrAGoneLauncherDoesNothing) {
    std::string valid = writeBundle(world.root / "Valid.app", validGame());
    world.start();
    Launcher::chooseGameEnded(world.launcher, false, valid);
    Launcher::chooseGameEnded(world.launcher, true, std::nullopt);
    EXPECT_FALSE(world.launcher->game());
    EXPECT_TRUE(world.controls.status.history.empty());

    std::weak_ptr<Launcher> weak = world.launcher;
    world.launcher.reset();
    Launcher::chooseGameEnded(weak, true, valid);
    EXPECT_TRUE(world.controls.status.history.empty());
    EXPECT_FALSE(world.preferences->stringForKey(gamePathKey));
}

TEST_F(FindGame, StoredOptionsSetTheCheckboxesAndEachToggleWritesItsOwnKey) {
    Launcher& launcher = world.start();
    launcher.applyStoredOptions();
    EXPECT_EQ(world.controls.skipVideos.checked, CheckState::on);
    EXPECT_EQ(world.controls.windowed.checked, CheckState::off);
    EXPECT_EQ(world.controls.adaptiveTriggers.checked, CheckState::off);

    world.controls.windowed.checked = CheckState::on;
    launcher.saveWindowPreference();
    PlistPreferences stored(preferencesFileIn(world.home));
    EXPECT_TRUE(stored.boolForKey(runInWindowKey));
    EXPECT_FALSE(stored.boolForKey(skipStartupVideosKey));  // never written: no default here
    EXPECT_FALSE(stored.boolForKey(adaptiveTriggersKey));

    world.controls.skipVideos.checked = CheckState::off;
    launcher.saveStartupVideoPreference();
    world.controls.adaptiveTriggers.checked = CheckState::mixed;
    launcher.saveAdaptiveTriggerPreference();

    // A second launcher reads them back from the file.
    RecordingControls again;
    world.services.preferences = std::make_shared<PlistPreferences>(preferencesFileIn(world.home));
    auto second = Launcher::create(again.controls(), world.services);
    second->applyStoredOptions();
    EXPECT_EQ(again.skipVideos.checked, CheckState::off);
    EXPECT_EQ(again.windowed.checked, CheckState::on);
    EXPECT_EQ(again.adaptiveTriggers.checked, CheckState::off);
}

}  // namespace
}  // namespace vornik
