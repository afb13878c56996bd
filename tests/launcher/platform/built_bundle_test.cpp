// The build's own application bundle has the layout the launcher relies on.
#include "bundle_identifiers.h"
#include "fixed_locations.h"
#include "info_plist.h"
#include "own_bundle.h"
#include "posix_files.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

TEST(BuiltBundle, CarriesTheStandInAtTheRuntimePathUnderTheRuntimeIdentifier) {
    const std::string bundle = VORNIK_BUILT_BUNDLE;
    PosixFiles files;
    EXPECT_TRUE(files.isExecutableFile(bundle + "/" + runtimeExecutablePath));
    std::optional<InfoPlist> plist =
        readInfoPlist(bundle + "/Contents/Helpers/Torvel.app/Contents/Info.plist");
    ASSERT_TRUE(plist);
    EXPECT_EQ(plist->bundleIdentifier, runtimeIdentifier);
    EXPECT_EQ(plist->executableName, "torvel");
}

TEST(OwnBundle, IsFoundFromTheExecutablesPlace) {
    EXPECT_EQ(bundleOfExecutable("/x/VornikLauncher.app/Contents/MacOS/VornikLauncher"),
              "/x/VornikLauncher.app");
    EXPECT_EQ(bundleOfExecutable("/usr/local/bin/tool"), "/usr/local/bin");
    EXPECT_EQ(bundleOfExecutable("/x/Plain/Contents/MacOS/tool"), "/x/Plain/Contents/MacOS");
    EXPECT_FALSE(ownExecutablePath().empty());
}

}  // namespace
}  // namespace vornik
