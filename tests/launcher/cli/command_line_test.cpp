// vornik-launcher-cli of the built application bundle, run as a user would
// from a shell, with a temporary home folder.
#include "fixture_bundles.h"
#include "plist_preferences.h"
#include "run_program.h"
#include "status_texts.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

using namespace vornik::testing;

class CommandLine : public ::testing::Test {
protected:
    ProgramRun run(const std::vector<std::string>& arguments) { return runCommandLine(home, arguments); }

    TemporaryFolder root;
    const std::string home = root / "home";
};

TEST_F(CommandLine, FindingNothingSaysWhatTheLookupByIdentifierIsHere) {
    makeFolders(home);
    ProgramRun found = run({"find"});
    EXPECT_EQ(found.exitStatus, 1) << found.output;
    EXPECT_EQ(printedValue(found.output, "game"), noCopySelectedText);
    EXPECT_EQ(printedValue(found.output, "status"), chooseDownloadedText);
    // Linux has no system lookup; the scan that stands in for it says so.
    const std::string lookup = printedValue(found.output, "lookup");
    EXPECT_NE(lookup.find("stand-in"), std::string::npos) << found.output;
    EXPECT_NE(lookup.find("/Applications"), std::string::npos) << found.output;
}

// Options stored by another program as numbers or words reach the runtime
// host as the user-defaults service reads them, and playing (which stores
// the game's path) keeps every other key.
TEST_F(CommandLine, PlayReadsStoredOptionsAsTheSystemDoesAndKeepsOtherKeys) {
    const std::string game = writeBundle(root / "Games/Vornik Complete Edition.app", validGame());
    const std::string file = preferencesFileIn(home);
    writeFile(file,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
              "<key>gamePath</key><string>" + game + "</string>"
              "<key>runInWindow</key><integer>1</integer>"
              "<key>skipStartupVideos</key><string>NO</string>"
              "<key>adaptiveTriggers</key><real>1</real>"
              "<key>launchCount</key><integer>7</integer>"
              "<key>recent</key><array><string>/a.app</string></array>"
              "</dict></plist>\n");

    ProgramRun played = run({"play"});
    EXPECT_EQ(played.exitStatus, 0) << played.output;
    EXPECT_EQ(printedValue(played.output, "game"), game);
    const std::string log = printedValue(played.output, "log");
    ASSERT_FALSE(log.empty()) << played.output;
    const std::string text = readFile(log);
    for (const char* line : {"TORVEL_VORNIK_WINDOW_MODE=windowed\n", "TORVEL_VORNIK_SKIP_STARTUP_VIDEOS=0\n",
                             "TORVEL_VORNIK_ADAPTIVE_TRIGGERS=1\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;

    const std::string stored = readFile(file);
    for (const char* kept : {"<key>launchCount</key>", "<integer>7</integer>", "<key>recent</key>",
                             "<string>/a.app</string>", "<key>runInWindow</key>"})
        EXPECT_NE(stored.find(kept), std::string::npos) << kept << " lost from\n" << stored;
}

}  // namespace
}  // namespace vornik
