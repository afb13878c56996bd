// Command-line front end to the launch logic, for machines and moments
// without the window: find the game, verify a bundle, or play. Every action
// ends by printing the status line the window would show.

#include "file_paths.h"
#include "game_verification.h"
#include "launcher.h"
#include "posix_bundles.h"
#include "posix_services.h"
#include "queued_main_thread.h"
#include "status_texts.h"
#include "system_services.h"
#include "text_controls.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

using namespace vornik;

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: vornik-launcher-cli find            look for the game and adopt it\n"
                 "       vornik-launcher-cli verify <bundle>  test whether a bundle is the game\n"
                 "       vornik-launcher-cli play [<bundle>]  start the game (the found one by default)\n"
                 "       vornik-launcher-cli logs             print the latest session log\n");
    return 2;
}

void printState(const TextControls& controls) {
    std::printf("game:   %s\n", controls.path.text.c_str());
    std::printf("status: %s\n", controls.status.text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];

    auto mainThread = std::make_shared<QueuedMainThread>();
    TextControls controls;
    // The user's preferences, the same store as the window's.
    auto launcher = Launcher::create(controls.controls(), makePosixServices(mainThread));
    launcher->applyStoredOptions();
    launcher->loadLatestLog();

    if (command == "find" && argc == 2) {
        launcher->findGame();
        printState(controls);
        std::printf("lookup: %s\n", applicationLookupDescription());
        return launcher->game() ? 0 : 1;
    }
    if (command == "verify" && argc == 3) {
        PosixFiles files;
        PosixBundles bundles;
        Result<std::string> verified = verifiedGame(argv[2], bundles, files);
        std::printf("%s\n", verified ? verified.value().c_str() : verified.failure().description.c_str());
        return verified ? 0 : 1;
    }
    if (command == "logs" && argc == 2) {
        if (!launcher->lastLog()) return 1;
        std::printf("%s\n", launcher->lastLog()->c_str());
        return 0;
    }
    if (command == "play" && (argc == 2 || argc == 3)) {
        if (argc == 3)
            Launcher::chooseGameEnded(launcher, true, std::string(argv[2]));
        else
            launcher->findGame();
        if (!launcher->game()) {
            printState(controls);
            return 1;
        }
        launcher->startGame();
        printState(controls);
        if (!launcher->isRunning()) return 1;
        if (launcher->lastLog()) std::printf("log:    %s\n", launcher->lastLog()->c_str());
        mainThread->runUntil([&] { return !launcher->isRunning(); }, std::chrono::hours(24));
        std::printf("status: %s\n", controls.status.text.c_str());
        return controls.status.text == readyText ? 0 : 1;
    }
    return usage();
}
