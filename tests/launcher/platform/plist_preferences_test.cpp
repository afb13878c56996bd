#include "plist_preferences.h"

#include "temporary_folder.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

using namespace vornik::testing;

TEST(PlistPreferences, RegisteredDefaultsAnswerOnlyUnsetKeysAndAreNotStored) {
    TemporaryFolder folder;
    const std::string file = preferencesFileIn(folder.path());
    {
        PlistPreferences preferences(file);
        preferences.registerDefaults({{"skipStartupVideos", true}});
        EXPECT_TRUE(preferences.boolForKey("skipStartupVideos"));
        EXPECT_FALSE(preferences.boolForKey("runInWindow"));
        EXPECT_FALSE(preferences.stringForKey("gamePath"));
        preferences.setBool("skipStartupVideos", false);
        EXPECT_FALSE(preferences.boolForKey("skipStartupVideos"));
    }
    PlistPreferences again(file);
    again.registerDefaults({{"skipStartupVideos", true}});
    EXPECT_FALSE(again.boolForKey("skipStartupVideos"));
}

TEST(PlistPreferences, ValuesSurviveAndEachKeyIsItsOwn) {
    TemporaryFolder folder;
    const std::string file = preferencesFileIn(folder.path());
    {
        PlistPreferences preferences(file);
        preferences.setString("gamePath", "/Games/Vornik Complete Edition.app");
        preferences.setBool("runInWindow", true);
    }
    PlistPreferences again(file);
    EXPECT_EQ(again.stringForKey("gamePath"), "/Games/Vornik Complete Edition.app");
    EXPECT_TRUE(again.boolForKey("runInWindow"));
    EXPECT_FALSE(again.boolForKey("adaptiveTriggers"));
    EXPECT_FALSE(again.stringForKey("runInWindow"));  // a boolean is no string
}

TEST(PlistPreferences, ACorruptFileStartsEmpty) {
    TemporaryFolder folder;
    const std::string file = preferencesFileIn(folder.path());
    writeFile(file, "<plist><dict><key>gamePath</key><string>/x");
    PlistPreferences preferences(file);
    EXPECT_FALSE(preferences.stringForKey("gamePath"));
    preferences.setString("gamePath", "/y");
    EXPECT_EQ(PlistPreferences(file).stringForKey("gamePath"), "/y");
}

}  // namespace
}  // namespace vornik
