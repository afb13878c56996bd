#pragma once
// Every text the launch logic shows the user: the path label's text when no
// game is selected, and each line of the status label. The user reads them
// as they are written here, character for character; the code that decides
// which one to show refers to them by name.

#include <string>

namespace vornik {

// Finding and adopting the game.
inline constexpr const char* noCopySelectedText = "No supported copy selected";  // the path label
inline constexpr const char* chooseDownloadedText = "Choose the Vornik application you downloaded.";
inline constexpr const char* readyText = "Ready to play";  // no final full stop
inline constexpr const char* steamEditionText = "Steam edition. Keep Steam open while playing.";

// Play.
inline constexpr const char* alreadyRunningText = "A compatibility session is already running.";
inline constexpr const char* runningText = "Vornik is running.";
inline constexpr const char* rosettaRequiredText = "Rosetta is required to run the compatibility runtime.";

// The messages of the launcher's own errors, one per LaunchError case.
inline constexpr const char* wrongAppText =
    "Choose the 32-bit Vornik Complete Edition Mac application (.app).";
inline constexpr const char* missingSteamText = "Open Steam and sign in, then click Play again.";
inline constexpr const char* missingRuntimeText =
    "The compatibility runtime is missing. Replace this launcher with a complete copy.";
inline constexpr const char* logCreationText = "The launcher could not create its session log.";

// How the runtime host ended, besides readyText for a normal end. Numbers are
// written in decimal, without leading zeros or spaces.
inline constexpr const char* noProfileMatchedText =
    "No compatibility profile matched this Vornik build. See the session log.";
inline std::string stoppedOnSignalText(int signal) {
    return "Vornik stopped on signal " + std::to_string(signal) + ". See the session log.";
}
inline std::string exitedWithStatusText(int status) {
    return "Vornik exited with status " + std::to_string(status) + ". See the session log.";
}

}  // namespace vornik
