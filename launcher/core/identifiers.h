#pragma once
// The fixed names the launcher relies on. The bundle identifiers are ours to
// choose; every other value is what the game, the runtime host and the
// user's preferences already use, character for character.

namespace vornik {

// Bundle identifier the game's Info.plist must carry (compared exactly).
inline constexpr const char* gameIdentifier = "com.vornik.completeedition";
// Bundle identifier of the runtime host's Torvel.app.
inline constexpr const char* runtimeIdentifier = "org.torvel.runtime";
// Bundle identifier of the Steam client.
inline constexpr const char* steamIdentifier = "com.valvesoftware.steam";
// Bundle identifier of the launcher itself; it also names the preferences domain.
inline constexpr const char* launcherIdentifier = "com.vornik.launcher";

inline constexpr const char* gameFileName = "Vornik Complete Edition.app";
inline constexpr const char* steamGameDirectory =
    "Library/Application Support/Steam/steamapps/common/Vornik Complete Edition";
inline constexpr const char* steamMarker = "Contents/Frameworks/libsteam_api.dylib";
inline constexpr const char* systemApplicationsFolder = "/Applications";

// The runtime host's executable, relative to the launcher's own bundle.
inline constexpr const char* runtimeExecutablePath =
    "Contents/Helpers/Torvel.app/Contents/MacOS/torvel";
inline constexpr const char* runtimeVerboseArgument = "-v";

// Session logs live in this folder under the user's Library folder.
inline constexpr const char* logsFolderInLibrary = "Logs/Vornik Launcher";

// Architecture number of 32-bit Intel code in an executable's header.
inline constexpr int architectureI386 = 7;

// Preference keys.
inline constexpr const char* gamePathKey = "gamePath";
inline constexpr const char* skipStartupVideosKey = "skipStartupVideos";
inline constexpr const char* runInWindowKey = "runInWindow";
inline constexpr const char* adaptiveTriggersKey = "adaptiveTriggers";

// Environment variables handed to the runtime host.
inline constexpr const char* directVariable = "TORVEL_VORNIK_DIRECT";
inline constexpr const char* skipStartupVideosVariable = "TORVEL_VORNIK_SKIP_STARTUP_VIDEOS";
inline constexpr const char* windowModeVariable = "TORVEL_VORNIK_WINDOW_MODE";
inline constexpr const char* adaptiveTriggersVariable = "TORVEL_VORNIK_ADAPTIVE_TRIGGERS";

}  // namespace vornik
