#include "file_paths.h"

#include <gtest/gtest.h>

namespace vornik {
namespace {

TEST(StandardizedPath, RemovesDotsRepeatsAndTrailingSlashes) {
    const std::pair<const char*, const char*> cases[] = {
        {"/Applications/Vornik.app/", "/Applications/Vornik.app"},
        {"/a/./b//c/../d.app", "/a/b/d.app"},
        {"/../a", "/a"},
        {"/", "/"},
        {"//", "/"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(standardizedPath(in), out) << in;
    EXPECT_EQ(standardizedPath("relative.app").front(), '/');
}

TEST(PathParts, ExtensionAndComponents) {
    EXPECT_EQ(pathExtension("/x/Vornik.APP"), "APP");
    EXPECT_EQ(pathExtension("/x/Vornik.app/"), "app");
    EXPECT_EQ(pathExtension("/x/archive.tar.gz"), "gz");
    EXPECT_EQ(pathExtension("/x/.log"), "");
    EXPECT_EQ(pathExtension("/x.app/file"), "");
    EXPECT_EQ(deletingLastPathComponent("/Games/Vornik.app"), "/Games");
    EXPECT_EQ(deletingLastPathComponent("/Vornik.app"), "/");
    EXPECT_EQ(appendingPathComponent("/a/", "b"), "/a/b");
    EXPECT_EQ(appendingPathComponent("/a", "b/c"), "/a/b/c");
}

}  // namespace
}  // namespace vornik
