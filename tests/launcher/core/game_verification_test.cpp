#include "game_verification.h"

#include "fifo_file.h"
#include "fixed_locations.h"
#include "fixture_bundles.h"
#include "launch_error.h"
#include "posix_bundles.h"
#include "posix_files.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace vornik {
namespace {

using namespace vornik::testing;

struct BundleCase {
    const char* name;
    const char* fileName;
    std::function<void(BundleContents&)> change;
    bool verifies;
};

void PrintTo(const BundleCase& c, std::ostream* out) { *out << c.name; }

class Verification : public ::testing::TestWithParam<BundleCase> {};

TEST_P(Verification, AcceptsOnlyThe32BitGame) {
    TemporaryFolder folder;
    BundleContents contents = validGame();
    GetParam().change(contents);
    std::string path = writeBundle(folder / GetParam().fileName, contents);

    PosixBundles bundles;
    PosixFiles files;
    Result<std::string> verified = verifiedGame(path, bundles, files);
    EXPECT_EQ(verified.ok(), GetParam().verifies);
    if (verified)
        EXPECT_EQ(verified.value(), path);
    else
        EXPECT_TRUE(isLaunchError(verified.failure(), LaunchError::wrongApp));
}

const char* const game = "Vornik Complete Edition.app";

INSTANTIATE_TEST_SUITE_P(
    Bundles, Verification,
    ::testing::Values(
        BundleCase{"thin_i386", game, [](BundleContents&) {}, true},
        BundleCase{"binary_info_plist", game, [](BundleContents& s) { s.format = PlistFormat::binary; }, true},
        BundleCase{"fat_with_i386_slice", game,
                   [](BundleContents& s) { s.executable = fatExecutable({cpuX86_64, cpuI386, cpuArm64}); }, true},
        BundleCase{"upper_case_extension", "Vornik Complete Edition.APP", [](BundleContents&) {}, true},
        BundleCase{"mixed_case_extension", "Vornik.ApP", [](BundleContents&) {}, true},
        BundleCase{"other_name_same_game", "Renamed.app", [](BundleContents&) {}, true},
        BundleCase{"x86_64_only", game, [](BundleContents& s) { s.executable = thinExecutable(cpuX86_64, true); }, false},
        BundleCase{"i386_claimed_by_64_bit_header", game,
                   [](BundleContents& s) { s.executable = thinExecutable(cpuI386, true); }, false},
        BundleCase{"fat_without_i386", game,
                   [](BundleContents& s) { s.executable = fatExecutable({cpuX86_64, cpuArm64}); }, false},
        BundleCase{"wrong_identifier", game, [](BundleContents& s) { s.identifier = "com.example.other"; }, false},
        BundleCase{"identifier_differs_in_case", game,
                   [](BundleContents& s) { s.identifier = "com.vornik.CompleteEdition"; }, false},
        BundleCase{"no_identifier", game, [](BundleContents& s) { s.identifier.reset(); }, false},
        BundleCase{"no_executable_file", game, [](BundleContents& s) { s.executable.reset(); }, false},
        BundleCase{"truncated_executable", game,
                   [](BundleContents& s) { s.executable = thinExecutable(cpuI386).substr(0, 20); }, false},
        BundleCase{"lying_fat_header", game,
                   [](BundleContents& s) { s.executable = fatExecutable({cpuI386}).substr(0, 30); }, false},
        BundleCase{"not_app_extension", "Vornik Complete Edition.bundle", [](BundleContents&) {}, false},
        BundleCase{"executable_name_escapes", game,
                   [](BundleContents& s) { s.executableName = "../../Contents/Info.plist"; s.executable.reset(); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VerificationOfOddFiles, CorruptPlistsAndNonBundlesFail) {
    TemporaryFolder folder;
    PosixBundles bundles;
    PosixFiles files;

    std::string corrupt = writeBundle(folder / "Corrupt.app", validGame());
    std::string plist = readFile(corrupt + "/Contents/Info.plist");
    writeFile(corrupt + "/Contents/Info.plist", plist.substr(0, plist.size() / 2));
    std::string garbage = writeBundle(folder / "Garbage.app", validGame());
    writeFile(garbage + "/Contents/Info.plist", std::string("bplist00\x01\x02\x03", 11));
    std::string noPlist = folder / "Empty.app";
    makeFolders(noPlist);
    writeFile(folder / "File.app", "a file, not a bundle");

    for (const std::string& path : {corrupt, garbage, noPlist, folder / "File.app", folder / "Missing.app"})
        EXPECT_FALSE(verifiedGame(path, bundles, files)) << path;
}

TEST(VerificationOfOddFiles, AFifoInPlaceOfAFileIsRefusedWithoutWaiting) {
    TemporaryFolder folder;
    PosixBundles bundles;
    PosixFiles files;
    struct Case {
        const char* bundle;
        const char* inside;
    } cases[] = {{"PlistFifo.app", "Contents/Info.plist"}, {"ExecutableFifo.app", "Contents/MacOS/Vornik"}};
    for (const auto& [bundle, inside] : cases) {
        SCOPED_TRACE(inside);
        std::string path = writeBundle(folder / bundle, validGame());
        std::filesystem::remove(path + "/" + inside);
        makeFifo(path + "/" + inside);
        bool verified = true;
        EXPECT_TRUE(returnsWithoutAWriter(path + "/" + inside,
                                          [&] { verified = verifiedGame(path, bundles, files).ok(); }));
        EXPECT_FALSE(verified);
    }
}

TEST(VerificationOfOddFiles, UnreadableExecutableFails) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    TemporaryFolder folder;
    PosixBundles bundles;
    PosixFiles files;
    std::string path = writeBundle(folder / "Locked.app", validGame());
    std::filesystem::permissions(path + "/Contents/MacOS/Vornik", std::filesystem::perms::none);
    EXPECT_FALSE(verifiedGame(path, bundles, files));
}

TEST(VerificationOfLinks, ASymbolicLinkGivesTheResolvedTarget) {
    TemporaryFolder folder;
    PosixBundles bundles;
    PosixFiles files;
    std::string target = writeBundle(folder / "real/Vornik Complete Edition.app", validGame());
    std::filesystem::create_directory_symlink(target, folder / "Link.app");
    std::filesystem::create_directory_symlink(folder / "real", folder / "shortcut");

    EXPECT_EQ(verifiedGame(folder / "Link.app", bundles, files).value(), target);
    EXPECT_EQ(verifiedGame(folder / "shortcut/./Vornik Complete Edition.app/", bundles, files).value(), target);
    EXPECT_EQ(verifiedGame(folder / "real/../real/Vornik Complete Edition.app", bundles, files).value(), target);
}

TEST(SteamEdition, IsRecognisedByItsReadableMarker) {
    TemporaryFolder folder;
    PosixFiles files;
    BundleContents steam = validGame();
    steam.steamMarker = true;
    EXPECT_TRUE(isSteamEdition(writeBundle(folder / "Steam.app", steam), files));
    EXPECT_FALSE(isSteamEdition(writeBundle(folder / "Plain.app", validGame()), files));
    std::string folderMarker = writeBundle(folder / "Odd.app", validGame());
    makeFolders(folderMarker + "/" + steamMarker);
    EXPECT_FALSE(isSteamEdition(folderMarker, files));
}

}  // namespace
}  // namespace vornik
