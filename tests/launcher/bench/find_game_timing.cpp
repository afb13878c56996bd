#include "find_game_timing.h"

#include "bench_clock.h"
#include "fixture_bundles.h"
#include "fixed_locations.h"
#include "launcher_world.h"

namespace vornik::bench {

namespace {

using namespace vornik::testing;

// Entries of the kinds an applications folder holds, in a mix: bundles of
// other applications (their Info.plist is read by the identifier lookup),
// folders holding a bundle (looked into one level down), folders of other
// things and plain files.
void fill(const std::string& folder, int entries) {
    for (int i = 0; i < entries; ++i) {
        std::string number = std::to_string(1000 + i);
        switch (i % 4) {
            case 0: {
                BundleContents other;
                other.identifier = "com.example.application" + number;
                other.executable = thinExecutable(cpuX86_64, true);
                writeBundle(folder + "/Application " + number + ".app", other);
                break;
            }
            case 1: {
                BundleContents inner;
                inner.identifier = "com.example.suite" + number;
                inner.executable = thinExecutable(cpuArm64, true);
                writeBundle(folder + "/Suite " + number + "/Tool " + number + ".app", inner);
                writeFile(folder + "/Suite " + number + "/Read Me.txt", "notes");
                break;
            }
            case 2:
                writeFile(folder + "/Document " + number + ".txt", "text");
                break;
            default:
                makeFolders(folder + "/Data " + number + "/cache");
                writeFile(folder + "/Data " + number + "/settings.plist", "settings");
                break;
        }
    }
}

}  // namespace

const char* describe(GamePlace place) {
    switch (place) {
        case GamePlace::nowhere: return "no game anywhere";
        case GamePlace::identifierLookup: return "found by the identifier lookup only";
        case GamePlace::systemFolder: return "in /Applications";
    }
    return "";
}

std::vector<double> timeFindGame(int entriesPerFolder, GamePlace place, int runs, bool& found) {
    std::vector<double> figures;
    for (int run = 0; run < runs; ++run) {
        LauncherWorld world;
        const std::string homeApplications = world.home + "/Applications";
        fill(world.applications, entriesPerFolder);
        fill(homeApplications, entriesPerFolder);
        if (place == GamePlace::identifierLookup)
            writeBundle(homeApplications + "/Zz Games/Vornik.app", validGame());
        else if (place == GamePlace::systemFolder)
            writeBundle(world.applications + "/" + gameFileName, validGame());
        Launcher& launcher = world.start();

        const auto start = std::chrono::steady_clock::now();
        launcher.findGame();
        figures.push_back(millisecondsSince(start));
        found = launcher.game().has_value();
    }
    return figures;
}

}  // namespace vornik::bench
