#include "proc_running_applications.h"

#include "launcher_world.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

using namespace vornik::testing;

TEST(EnclosingBundle, IsTheInnermostAppFolder) {
    EXPECT_EQ(enclosingBundle("/a/Outer.app/Contents/Helpers/Inner.app/Contents/MacOS/x"),
              "/a/Outer.app/Contents/Helpers/Inner.app");
    EXPECT_EQ(enclosingBundle("/Apps/Loud.APP/Contents/MacOS/x"), "/Apps/Loud.APP");
    EXPECT_EQ(enclosingBundle("/usr/bin/x"), "");
    EXPECT_EQ(enclosingBundle("/.app/x"), "");
}

TEST(RunningApplications, FindsAProcessByItsBundleIdentifier) {
    TemporaryFolder folder;
    ProcessRunningApplications running;
    const std::string identifier = "com.example.running-" + std::to_string(::getpid());
    EXPECT_TRUE(running.withIdentifier(identifier).empty());
    {
        RunningBundle app(folder / "Some.app", identifier);
        std::vector<RunningApplication> found = running.withIdentifier(identifier);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].processId, app.processId());
        EXPECT_EQ(found[0].bundlePath, folder / "Some.app");
        EXPECT_TRUE(running.withIdentifier(identifier + ".other").empty());
        running.activate(found[0]);  // best effort; must simply not fail
    }
    EXPECT_TRUE(running.withIdentifier(identifier).empty());
}

}  // namespace
}  // namespace vornik
