#include "play_timing.h"

#include "bench_clock.h"
#include "fixture_bundles.h"
#include "fixed_locations.h"
#include "launcher_world.h"

#include <sys/stat.h>
#include <thread>

namespace vornik::bench {

namespace {

using namespace vornik::testing;

long long sizeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

}  // namespace

std::vector<PlayRun> timePlay(int runs) {
    std::vector<PlayRun> figures;
    for (int run = 0; run < runs; ++run) {
        LauncherWorld world;
        world.installRuntime();
        writeBundle(world.applications + "/" + gameFileName, validGame());
        Launcher& launcher = world.start();
        launcher.findGame();
        if (!launcher.game()) break;

        PlayRun r;
        const auto start = std::chrono::steady_clock::now();
        launcher.startGame();
        r.launched = millisecondsSince(start);
        if (!launcher.isRunning()) break;
        // The log is new and empty until the stand-in writes to it.
        const std::vector<std::string> logs = world.logFiles();
        if (logs.size() != 1) break;
        const auto deadline = start + std::chrono::seconds(10);
        while (sizeOf(logs.front()) <= 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        r.firstOutput = millisecondsSince(start);
        world.waitForEnd();
        if (sizeOf(logs.front()) > 0) figures.push_back(r);
    }
    return figures;
}

}  // namespace vornik::bench
