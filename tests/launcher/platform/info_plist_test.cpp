#include "info_plist.h"

#include "fixture_bundles.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

using namespace vornik::testing;

TEST(InfoPlist, ReadsXmlAndBinaryForms) {
    const std::map<std::string, std::string> entries{{"CFBundleIdentifier", "com.example.x"},
                                                     {"CFBundleExecutable", "X"}};
    for (PlistFormat format : {PlistFormat::xml, PlistFormat::binary}) {
        std::optional<InfoPlist> plist = parseInfoPlist(infoPlist(entries, format));
        ASSERT_TRUE(plist);
        EXPECT_EQ(plist->bundleIdentifier, "com.example.x");
        EXPECT_EQ(plist->executableName, "X");
    }
}

TEST(InfoPlist, MissingOrMistypedEntriesAreAbsent) {
    std::optional<InfoPlist> plist = parseInfoPlist(infoPlist({{"CFBundleName", "X"}}, PlistFormat::xml));
    ASSERT_TRUE(plist);
    EXPECT_FALSE(plist->bundleIdentifier);
    EXPECT_FALSE(plist->executableName);

    const std::string integerIdentifier =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
        "<integer>7</integer></dict></plist>";
    plist = parseInfoPlist(integerIdentifier);
    ASSERT_TRUE(plist);
    EXPECT_FALSE(plist->bundleIdentifier);
}

TEST(InfoPlist, BadDataIsNoPlist) {
    const std::string xml = infoPlist({{"CFBundleIdentifier", "com.example.x"}}, PlistFormat::xml);
    const std::string binary = infoPlist({{"CFBundleIdentifier", "com.example.x"}}, PlistFormat::binary);
    const std::string arrayRoot =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>";
    for (const std::string& bad :
         {std::string(), std::string("not a property list"), xml.substr(0, xml.size() / 2),
          binary.substr(0, binary.size() - 10), binary.substr(0, 12), arrayRoot,
          std::string("bplist00") + std::string(64, '\xff')}) {
        EXPECT_FALSE(parseInfoPlist(bad)) << bad;
    }
}

TEST(InfoPlist, UnreadableFileIsNoPlist) {
    TemporaryFolder folder;
    EXPECT_FALSE(readInfoPlist(folder / "missing.plist"));
    EXPECT_FALSE(readInfoPlist(folder.path()));
    writeFile(folder / "Info.plist", infoPlist({{"CFBundleIdentifier", "a.b"}}, PlistFormat::binary));
    EXPECT_EQ(readInfoPlist(folder / "Info.plist")->bundleIdentifier, "a.b");
}

}  // namespace
}  // namespace vornik
