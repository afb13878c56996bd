#include "plist_preferences.h"

#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace vornik {
namespace {

using namespace vornik::testing;

// A preferences file holding the given <key>…</key> and value elements.
std::string xmlFile(const std::string& entries) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries +
           "</dict></plist>\n";
}

// The same property list in the binary form (the one macOS writes).
std::string binaryFile(const std::string& xml) {
    PlistTree tree = parsePropertyList(xml, xml.size());
    EXPECT_TRUE(tree);
    char* data = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(tree.get(), &data, &length);
    std::string binary(data, length);
    std::free(data);
    return binary;
}

// The file's whole dictionary as XML, with the given keys taken out.
std::string storedWithout(const std::string& file, std::initializer_list<const char*> keys) {
    const std::string data = readFile(file);
    PlistTree tree = parsePropertyList(data, data.size());
    EXPECT_TRUE(tree);
    if (!tree) return {};
    for (const char* key : keys) plist_dict_remove_item(tree.get(), key);
    return xmlPropertyList(tree.get());
}

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

// What another program (the system's own tools, an older or newer launcher)
// may have stored: the launcher reads it as the user-defaults service would.
TEST(PlistPreferences, BooleansReadAsTheUserDefaultsServiceReadsThem) {
    struct Case {
        const char* stored;
        bool expected;
    };
    const Case cases[] = {
        {"<true/>", true},
        {"<false/>", false},
        {"<integer>1</integer>", true},
        {"<integer>0</integer>", false},
        {"<integer>-3</integer>", true},
        {"<integer>4294967296</integer>", true},  // non-zero beyond 32 bits
        {"<real>0.5</real>", true},
        {"<real>0.0</real>", false},
        {"<string>YES</string>", true},
        {"<string>yes</string>", true},
        {"<string>true</string>", true},
        {"<string>1</string>", true},
        {"<string> +007</string>", true},
        {"<string>NO</string>", false},
        {"<string>false</string>", false},
        {"<string>0</string>", false},
        {"<string>-0</string>", false},
        {"<string></string>", false},
        {"<string>maybe</string>", false},
        {"<dict><key>x</key><true/></dict>", false},
        {"<array><true/></array>", false},
        {"<data>AQ==</data>", false},
    };
    TemporaryFolder folder;
    const std::string file = preferencesFileIn(folder.path());
    for (const Case& c : cases) {
        const std::string xml = xmlFile(std::string("<key>runInWindow</key>") + c.stored +
                                        "<key>skipStartupVideos</key>" + c.stored);
        for (const std::string& data : {xml, binaryFile(xml)}) {
            SCOPED_TRACE(std::string(c.stored) + (data == xml ? " (XML)" : " (binary)"));
            writeFile(file, data);
            PlistPreferences preferences(file);
            // A stored value of any type answers; the registered default does not.
            preferences.registerDefaults({{"skipStartupVideos", true}});
            EXPECT_EQ(preferences.boolForKey("runInWindow"), c.expected);
            EXPECT_EQ(preferences.boolForKey("skipStartupVideos"), c.expected);
        }
    }
}

TEST(PlistPreferences, KeysOfEveryTypeOutliveEveryChange) {
    TemporaryFolder folder;
    const std::string file = preferencesFileIn(folder.path());
    const std::string others =
        "<key>NSWindow Frame Main</key><string>10 20 500 305 0 0 1440 900</string>"
        "<key>launchCount</key><integer>42</integer>"
        "<key>volume</key><real>0.75</real>"
        "<key>lastCheck</key><date>2024-05-01T12:00:00Z</date>"
        "<key>token</key><data>AAECAw==</data>"
        "<key>recent</key><array><string>/a.app</string><string>/b.app</string></array>"
        "<key>window</key><dict><key>x</key><integer>3</integer></dict>";
    writeFile(file, xmlFile(others + "<key>runInWindow</key><false/>"));
    const std::string before = storedWithout(file, {"runInWindow", "gamePath", "adaptiveTriggers"});
    ASSERT_NE(before.find("launchCount"), std::string::npos);

    PlistPreferences preferences(file);
    preferences.setBool("runInWindow", true);
    preferences.setString("gamePath", "/Games/Vornik Complete Edition.app");
    preferences.setBool("adaptiveTriggers", false);

    EXPECT_EQ(storedWithout(file, {"runInWindow", "gamePath", "adaptiveTriggers"}), before);
    PlistPreferences again(file);
    EXPECT_TRUE(again.boolForKey("runInWindow"));
    EXPECT_EQ(again.stringForKey("gamePath"), "/Games/Vornik Complete Edition.app");
}

// The window and the command line open the store at the same time.
TEST(PlistPreferences, TwoOpenStoresSeeAndKeepEachOthersChanges) {
    TemporaryFolder folder;
    const std::string file = preferencesFileIn(folder.path());
    PlistPreferences window(file), commandLine(file);
    EXPECT_FALSE(window.boolForKey("runInWindow"));
    EXPECT_FALSE(commandLine.stringForKey("gamePath"));

    window.setBool("runInWindow", true);
    commandLine.setString("gamePath", "/Games/Vornik Complete Edition.app");
    window.setBool("adaptiveTriggers", true);

    PlistPreferences later(file);
    for (PlistPreferences* store : {&window, &commandLine, &later}) {
        EXPECT_TRUE(store->boolForKey("runInWindow"));
        EXPECT_TRUE(store->boolForKey("adaptiveTriggers"));
        EXPECT_EQ(store->stringForKey("gamePath"), "/Games/Vornik Complete Edition.app");
    }
}

TEST(PlistPreferences, WithoutAFileValuesLiveInMemory) {
    PlistPreferences preferences{std::string()};
    preferences.registerDefaults({{"skipStartupVideos", true}});
    EXPECT_TRUE(preferences.boolForKey("skipStartupVideos"));
    preferences.setBool("skipStartupVideos", false);
    preferences.setString("gamePath", "/x.app");
    EXPECT_FALSE(preferences.boolForKey("skipStartupVideos"));
    EXPECT_EQ(preferences.stringForKey("gamePath"), "/x.app");
}

}  // namespace
}  // namespace vornik
