#pragma once
// The launcher's state and its operations: finding and adopting the game,
// Play, the child's end, the logs and the option preferences. Everything
// runs on the main thread; the only thing that arrives from elsewhere is the
// child's end, which the process service reports on its own thread and which
// is handed back to the main thread holding the launcher only weakly.

#include "controls.h"
#include "launch_failure.h"
#include "services.h"

#include <memory>
#include <optional>
#include <string>

namespace vornik {

class Launcher : public std::enable_shared_from_this<Launcher> {
public:
    static std::shared_ptr<Launcher> create(const Controls& controls, Services services);

    // Start-up, in the window's order: options from the preferences, the
    // latest log, then the search for the game.
    void applyStoredOptions();
    void loadLatestLog();
    void findGame();

    // Adopts an already verified bundle as the game.
    void select(const std::string& verifiedPath);

    // Play.
    void startGame();

    // Choose Game…: where the panel starts, and what happens when it ends.
    // The completion holds the launcher weakly and does nothing once it is gone.
    std::string chooseGameStartFolder() const;
    static void chooseGameEnded(const std::weak_ptr<Launcher>& launcher, bool accepted,
                                const std::optional<std::string>& chosenPath);

    // Show Logs.
    void showLogs();

    // The checkbox actions: each stores its own box's state under its own key.
    void saveStartupVideoPreference();
    void saveWindowPreference();
    void saveAdaptiveTriggerPreference();

    const std::optional<std::string>& game() const { return game_; }
    const std::optional<std::string>& lastLog() const { return lastLog_; }
    bool isRunning() const { return process_ != nullptr; }

private:
    Launcher(const Controls& controls, Services services);

    void launchVerified(const std::string& verifiedPath);
    void childEnded(ChildEnd end);
    void setRunningControls(bool running);

    Controls controls_;
    Services services_;
    std::optional<std::string> game_;
    std::shared_ptr<Child> process_;
    std::optional<std::string> lastLog_;
};

}  // namespace vornik
