#include "posix_files.h"

#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sys/stat.h>

namespace vornik {
namespace {

using namespace vornik::testing;

mode_t permissionsOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

class UmaskScope {
public:
    explicit UmaskScope(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskScope() { ::umask(previous_); }

private:
    mode_t previous_;
};

TEST(PrivateFile, IsCreatedEmptyWithMode600WhateverTheUmask) {
    TemporaryFolder folder;
    PosixFiles files;
    for (mode_t mask : {mode_t(0), mode_t(022), mode_t(0277), mode_t(0777)}) {
        UmaskScope scope(mask);
        std::string path = folder / ("log-" + std::to_string(mask));
        ASSERT_TRUE(files.createPrivateFile(path)) << mask;
        EXPECT_EQ(permissionsOf(path), mode_t(0600)) << mask;
        EXPECT_EQ(readFile(path), "");
    }
}

TEST(PrivateFile, NeverReusesAFileNorFollowsALink) {
    TemporaryFolder folder;
    PosixFiles files;
    writeFile(folder / "existing.log", "kept");
    EXPECT_FALSE(files.createPrivateFile(folder / "existing.log"));
    EXPECT_EQ(readFile(folder / "existing.log"), "kept");

    std::filesystem::create_symlink(folder / "target", folder / "link.log");
    EXPECT_FALSE(files.createPrivateFile(folder / "link.log"));
    EXPECT_FALSE(std::filesystem::exists(folder / "target"));

    std::filesystem::create_symlink(folder / "existing.log", folder / "link2.log");
    EXPECT_FALSE(files.createPrivateFile(folder / "link2.log"));
    EXPECT_EQ(readFile(folder / "existing.log"), "kept");
}

TEST(OpenForWriting, RefusesMissingFilesAndLinks) {
    TemporaryFolder folder;
    PosixFiles files;
    Result<std::unique_ptr<WritableFile>> missing = files.openForWriting(folder / "none.log");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().domain, "NSPOSIXErrorDomain");
    EXPECT_EQ(missing.failure().code, ENOENT);

    writeFile(folder / "real.log", "");
    std::filesystem::create_symlink(folder / "real.log", folder / "link.log");
    EXPECT_FALSE(files.openForWriting(folder / "link.log"));
    EXPECT_TRUE(files.openForWriting(folder / "real.log"));
}

TEST(CreateDirectories, MakesParentsAcceptsExistingAndReportsAFileInTheWay) {
    TemporaryFolder folder;
    PosixFiles files;
    EXPECT_FALSE(files.createDirectories(folder / "a/b/c"));
    EXPECT_FALSE(files.createDirectories(folder / "a/b/c"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a/b/c"));

    writeFile(folder / "file", "x");
    std::optional<LaunchFailure> failed = files.createDirectories(folder / "file/sub");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->domain, "NSPOSIXErrorDomain");
    EXPECT_FALSE(failed->description.empty());
    EXPECT_TRUE(files.createDirectories(folder / "file"));
}

TEST(FileTests, ReadableAndExecutableMeanRegularFiles) {
    TemporaryFolder folder;
    PosixFiles files;
    writeFile(folder / "plain", "x");
    writeFile(folder / "tool", "x");
    std::filesystem::permissions(folder / "tool", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    EXPECT_TRUE(files.isReadableFile(folder / "plain"));
    EXPECT_FALSE(files.isExecutableFile(folder / "plain"));
    EXPECT_TRUE(files.isExecutableFile(folder / "tool"));
    EXPECT_FALSE(files.isReadableFile(folder.path()));
    EXPECT_FALSE(files.isExecutableFile(folder.path()));
    EXPECT_FALSE(files.isReadableFile(folder / "missing"));
}

TEST(ListFolder, SkipsHiddenEntriesAndReportsKindAndDate) {
    TemporaryFolder folder;
    PosixFiles files;
    writeFile(folder / "a.log", "x");
    writeFile(folder / ".hidden.log", "x");
    makeFolders(folder / "sub.log");
    std::filesystem::create_symlink(folder / "a.log", folder / "link.log");

    Result<std::vector<FolderEntry>> entries = files.listFolder(folder.path());
    ASSERT_TRUE(entries);
    std::map<std::string, bool> regular;
    for (const FolderEntry& entry : entries.value()) {
        ASSERT_TRUE(entry.isRegularFile && entry.modified) << entry.path;
        regular[std::filesystem::path(entry.path).filename().string()] = *entry.isRegularFile;
    }
    EXPECT_EQ(regular, (std::map<std::string, bool>{{"a.log", true}, {"sub.log", false}, {"link.log", false}}));
    EXPECT_FALSE(files.listFolder(folder / "missing"));
}

TEST(Uuids, AreFreshUpperCaseAndGrouped) {
    PosixFiles files;
    const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        std::string uuid = files.newUuidString();
        EXPECT_TRUE(std::regex_match(uuid, form)) << uuid;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(Folders, HomeLibraryAndApplicationsFollowTheOverrides) {
    PosixFiles files(FolderOverrides{"/tmp/some-home", "/tmp/some-apps"});
    EXPECT_EQ(files.homeDirectory().value(), "/tmp/some-home");
    EXPECT_EQ(files.libraryDirectory().value(), "/tmp/some-home/Library");
    EXPECT_EQ(files.systemApplicationsDirectory(), "/tmp/some-apps");
    EXPECT_EQ(PosixFiles().systemApplicationsDirectory(), "/Applications");
}

}  // namespace
}  // namespace vornik
