#include "launcher.h"

#include "bundle_identifiers.h"
#include "file_paths.h"
#include "fixed_locations.h"
#include "game_verification.h"
#include "preference_keys.h"
#include "session_log.h"
#include "status_texts.h"
#include "termination_text.h"

namespace vornik {

std::shared_ptr<Launcher> Launcher::create(const Controls& controls, Services services) {
    return std::shared_ptr<Launcher>(new Launcher(controls, std::move(services)));
}

Launcher::Launcher(const Controls& controls, Services services)
    : controls_(controls), services_(std::move(services)) {}

void Launcher::applyStoredOptions() {
    Preferences& preferences = *services_.preferences;
    preferences.registerDefaults({{skipStartupVideosKey, true}});
    auto stateFor = [&](const char* key) {
        return preferences.boolForKey(key) ? CheckState::on : CheckState::off;
    };
    controls_.skipVideos->setState(stateFor(skipStartupVideosKey));
    controls_.windowed->setState(stateFor(runInWindowKey));
    controls_.adaptiveTriggers->setState(stateFor(adaptiveTriggersKey));
}

void Launcher::saveStartupVideoPreference() {
    services_.preferences->setBool(skipStartupVideosKey, isOn(*controls_.skipVideos));
}

void Launcher::saveWindowPreference() {
    services_.preferences->setBool(runInWindowKey, isOn(*controls_.windowed));
}

void Launcher::saveAdaptiveTriggerPreference() {
    services_.preferences->setBool(adaptiveTriggersKey, isOn(*controls_.adaptiveTriggers));
}

void Launcher::loadLatestLog() {
    lastLog_ = latestSessionLog(*services_.files);
    controls_.logs->setEnabled(lastLog_.has_value());
}

void Launcher::findGame() {
    Files& files = *services_.files;
    auto tryCandidate = [&](const std::optional<std::string>& candidate) {
        if (!candidate) return false;
        Result<std::string> verified = verifiedGame(*candidate, *services_.bundles, files);
        if (!verified) return false;
        select(verified.value());
        return true;
    };

    if (tryCandidate(services_.preferences->stringForKey(gamePathKey))) return;
    if (tryCandidate(appendingPathComponent(files.systemApplicationsDirectory(), gameFileName)))
        return;
    Result<std::string> home = files.homeDirectory();
    if (home) {
        std::string inHome = appendingPathComponent(home.value(), "Applications");
        if (tryCandidate(appendingPathComponent(inHome, gameFileName))) return;
        std::string steam = appendingPathComponent(home.value(), steamGameDirectory);
        if (tryCandidate(appendingPathComponent(steam, gameFileName))) return;
    }
    if (tryCandidate(services_.workspace->applicationWithIdentifier(gameIdentifier))) return;

    controls_.path->setText(noCopySelectedText);
    controls_.status->setText(chooseDownloadedText);
    controls_.play->setEnabled(false);
}

void Launcher::select(const std::string& verifiedPath) {
    game_ = verifiedPath;
    services_.preferences->setString(gamePathKey, verifiedPath);
    controls_.path->setText(verifiedPath);
    controls_.path->setToolTip(verifiedPath);
    controls_.status->setText(isSteamEdition(verifiedPath, *services_.files) ? steamEditionText
                                                                             : readyText);
    controls_.play->setEnabled(true);
}

std::string Launcher::chooseGameStartFolder() const {
    return game_ ? deletingLastPathComponent(*game_) : std::string(systemApplicationsFolder);
}

void Launcher::chooseGameEnded(const std::weak_ptr<Launcher>& weakLauncher, bool accepted,
                               const std::optional<std::string>& chosenPath) {
    std::shared_ptr<Launcher> launcher = weakLauncher.lock();
    if (!launcher || !accepted || !chosenPath) return;
    Result<std::string> verified =
        verifiedGame(*chosenPath, *launcher->services_.bundles, *launcher->services_.files);
    if (verified)
        launcher->select(verified.value());
    else
        launcher->controls_.status->setText(verified.failure().description);
}

void Launcher::showLogs() {
    if (!lastLog_ || !services_.files->isReadableFile(*lastLog_)) {
        lastLog_ = latestSessionLog(*services_.files);
        controls_.logs->setEnabled(lastLog_.has_value());
        if (!lastLog_) return;
    }
    services_.workspace->reveal(*lastLog_);
}

void Launcher::setRunningControls(bool running) {
    for (Button* control : {controls_.play, controls_.choose, static_cast<Button*>(controls_.skipVideos),
                            static_cast<Button*>(controls_.windowed),
                            static_cast<Button*>(controls_.adaptiveTriggers)})
        control->setEnabled(!running);
}

void Launcher::childEnded(ChildEnd end) {
    process_.reset();
    setRunningControls(false);
    controls_.status->setText(terminationText(end.status, end.signaled));
}

}  // namespace vornik
