#pragma once
// The bundle identifiers the launcher looks for and answers to. Ours to
// choose are the game's, the runtime host's and the launcher's own; the
// Steam client's is the one it carries. Each is compared exactly, letter
// case included.

namespace vornik {

// The identifier the game's Info.plist must carry.
inline constexpr const char* gameIdentifier = "com.vornik.completeedition";
// The runtime host's Torvel.app, running or not.
inline constexpr const char* runtimeIdentifier = "org.torvel.runtime";
// The Steam client, which the Steam edition needs running.
inline constexpr const char* steamIdentifier = "com.valvesoftware.steam";
// The launcher itself; it also names the preferences domain.
inline constexpr const char* launcherIdentifier = "com.vornik.launcher";

}  // namespace vornik
