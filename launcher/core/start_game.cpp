// Play: the pre-launch tests, the session log and the start of the runtime
// host. The first failing step ends the action; its failure becomes the
// status line and no control changes its enabled state.

#include "launcher.h"

#include "bundle_identifiers.h"
#include "file_paths.h"
#include "fixed_locations.h"
#include "game_verification.h"
#include "launch_environment.h"
#include "launch_error.h"
#include "session_log.h"
#include "status_texts.h"

namespace vornik {

namespace {
// The runtime host's first argument, before the game's path.
constexpr const char* runtimeVerboseArgument = "-v";
}  // namespace

void Launcher::startGame() {
    if (!game_ || process_) return;

    std::vector<RunningApplication> sessions =
        services_.runningApplications->withIdentifier(runtimeIdentifier);
    if (!sessions.empty()) {
        services_.runningApplications->activate(sessions.front());
        controls_.status->setText(alreadyRunningText);
        return;
    }

    Result<std::string> verified = verifiedGame(*game_, *services_.bundles, *services_.files);
    if (!verified) {
        controls_.status->setText(launchFailureStatus(verified.failure()));
        return;
    }
    launchVerified(verified.value());
}

void Launcher::launchVerified(const std::string& gamePath) {
    auto report = [this](const LaunchFailure& failed) {
        controls_.status->setText(launchFailureStatus(failed));
    };
    Files& files = *services_.files;

    if (isSteamEdition(gamePath, files) &&
        services_.runningApplications->withIdentifier(steamIdentifier).empty())
        return report(failure(LaunchError::missingSteam));

    const std::string runtime = appendingPathComponent(services_.ownBundlePath, runtimeExecutablePath);
    if (!files.isExecutableFile(runtime)) return report(failure(LaunchError::missingRuntime));

    Result<std::string> log = newSessionLog(files);
    if (!log) return report(log.failure());
    lastLog_ = log.value();
    controls_.logs->setEnabled(true);

    // The launcher's own handle closes when this action ends; the child keeps
    // its duplicates of it.
    Result<std::unique_ptr<WritableFile>> handle = files.openForWriting(log.value());
    if (!handle) return report(handle.failure());

    ChildLaunch request;
    request.executable = runtime;
    request.arguments = {runtimeVerboseArgument, gamePath};
    request.environment = launchEnvironment(
        services_.processes->environment(),
        LaunchOptions{isOn(*controls_.skipVideos), isOn(*controls_.windowed),
                      isOn(*controls_.adaptiveTriggers)});
    request.workingDirectory = deletingLastPathComponent(gamePath);
    request.outputDescriptor = handle.value()->descriptor();

    std::weak_ptr<Launcher> weakSelf = weak_from_this();
    std::shared_ptr<MainThread> mainThread = services_.mainThread;
    auto ended = [weakSelf, mainThread](ChildEnd end) {
        mainThread->post([weakSelf, end] {
            if (std::shared_ptr<Launcher> launcher = weakSelf.lock()) launcher->childEnded(end);
        });
    };

    Result<std::shared_ptr<Child>> child = services_.processes->launch(request, std::move(ended));
    if (!child) return report(child.failure());

    process_ = child.value();
    setRunningControls(true);
    controls_.status->setText(runningText);
}

}  // namespace vornik
