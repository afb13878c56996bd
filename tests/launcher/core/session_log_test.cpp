// New logs, the latest log and Show Logs, on a temporary home folder.
#include "session_log.h"

#include "launcher_world.h"
#include "platform_doubles.h"
#include "posix_files.h"
#include "status_texts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>

namespace vornik {
namespace {

using namespace vornik::testing;

// Sets a file's modification time to `seconds` after the epoch (plus `nanos`).
void setModified(const std::string& path, long seconds, long nanos = 0) {
    struct timespec times[2] = {{seconds, nanos}, {seconds, nanos}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

class SessionLogs : public ::testing::Test {
protected:
    std::string log(const std::string& name, long seconds) {
        std::string path = world.logsFolder() + "/" + name;
        writeFile(path, "");
        setModified(path, seconds);
        return path;
    }
    LauncherWorld world;
    Files& files = *world.services.files;
};

TEST_F(SessionLogs, NewLogsAreFreshPrivateAndNamedByUuid) {
    Result<std::string> first = newSessionLog(files);
    Result<std::string> second = newSessionLog(files);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.value(), second.value());
    const std::regex name("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.log");
    for (const std::string& path : {first.value(), second.value()}) {
        EXPECT_EQ(std::filesystem::path(path).parent_path().string(), world.logsFolder());
        EXPECT_TRUE(std::regex_match(fileName(path), name)) << path;
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode_t(0600));
        EXPECT_EQ(info.st_size, 0);
    }
}

TEST_F(SessionLogs, AnExistingFileOrLinkAtTheNameIsNeverReused) {
    RepeatingUuidFiles repeating(FolderOverrides{world.home, world.applications});
    ASSERT_TRUE(newSessionLog(repeating));
    Result<std::string> again = newSessionLog(repeating);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.failure().description, logCreationText);

    std::filesystem::remove(world.logsFolder() + "/" + RepeatingUuidFiles::uuid + ".log");
    std::filesystem::create_symlink(world.root / "elsewhere",
                                    world.logsFolder() + "/" + RepeatingUuidFiles::uuid + ".log");
    EXPECT_FALSE(newSessionLog(repeating));
    EXPECT_FALSE(std::filesystem::exists(world.root / "elsewhere"));
}

TEST_F(SessionLogs, AFolderThatCannotBeMadeGivesThePlatformError) {
    writeFile(world.home + "/Library", "a file where the Library folder should be");
    Result<std::string> log = newSessionLog(files);
    ASSERT_FALSE(log);
    EXPECT_EQ(log.failure().domain, "NSPOSIXErrorDomain");
    EXPECT_NE(log.failure().description, logCreationText);
    EXPECT_FALSE(latestSessionLog(files));
}

TEST_F(SessionLogs, LatestIsTheNewestRegularVisibleLowerCaseLog) {
    EXPECT_FALSE(latestSessionLog(files));  // no folder yet
    log("old.log", 1000);
    std::string newest = log("new.log", 3000);
    log("upper.LOG", 9000);
    log(".hidden.log", 9000);
    log("notes.txt", 9000);
    log("log", 9000);
    makeFolders(world.logsFolder() + "/folder.log");
    setModified(world.logsFolder() + "/folder.log", 9000);
    std::filesystem::create_symlink(newest, world.logsFolder() + "/link.log");
    setModified(world.logsFolder() + "/link.log", 9000);
    EXPECT_EQ(latestSessionLog(files), newest);

    std::string finer = log("finer.log", 3000);
    setModified(finer, 3000, 500);
    EXPECT_EQ(latestSessionLog(files), finer);
}

TEST_F(SessionLogs, AmongEqualDatesTheFirstListedWins) {
    std::vector<std::string> names{"a.log", "b.log", "c.log", "d.log", "e.log"};
    for (const auto& name : names) log(name, 5000);
    log("older.log", 4000);
    std::string firstListed;
    Result<std::vector<FolderEntry>> listing = files.listFolder(world.logsFolder());
    ASSERT_TRUE(listing);
    for (const FolderEntry& entry : listing.value())
        if (fileName(entry.path) != "older.log") {
            firstListed = entry.path;
            break;
        }
    EXPECT_EQ(latestSessionLog(files), firstListed);
}

TEST_F(SessionLogs, ShowLogsRevealsTheRememberedLogOrFallsBack) {
    std::string older = log("older.log", 1000);
    std::string newer = log("newer.log", 2000);
    Launcher& launcher = world.start();
    launcher.loadLatestLog();
    EXPECT_EQ(launcher.lastLog(), newer);
    EXPECT_TRUE(world.controls.logs.enabled);

    launcher.showLogs();
    EXPECT_EQ(world.workspace->revealed, std::vector<std::string>{newer});

    std::filesystem::remove(newer);
    launcher.showLogs();
    EXPECT_EQ(launcher.lastLog(), older);
    EXPECT_EQ(world.workspace->revealed.back(), older);
    EXPECT_TRUE(world.controls.logs.enabled);

    std::filesystem::remove(older);
    launcher.showLogs();
    EXPECT_FALSE(launcher.lastLog());
    EXPECT_FALSE(world.controls.logs.enabled);
    EXPECT_EQ(world.workspace->revealed.size(), 2u);
    EXPECT_TRUE(world.controls.status.history.empty());
}

TEST_F(SessionLogs, WithoutLogsShowLogsStartsDisabled) {
    Launcher& launcher = world.start();
    launcher.loadLatestLog();
    EXPECT_FALSE(launcher.lastLog());
    EXPECT_FALSE(world.controls.logs.enabled);
}

}  // namespace
}  // namespace vornik
