#pragma once
// The file names and relative paths where the launcher finds the game, the
// runtime host and its session logs. They are what the game, Steam and the
// launcher's own bundle already use, character for character.

namespace vornik {

// The game bundle's name in the folders where it is looked for.
inline constexpr const char* gameFileName = "Vornik Complete Edition.app";
inline constexpr const char* systemApplicationsFolder = "/Applications";
// Steam's copy of the game, relative to the user's home folder.
inline constexpr const char* steamGameDirectory =
    "Library/Application Support/Steam/steamapps/common/Vornik Complete Edition";
// Inside a game bundle: present only in the Steam edition.
inline constexpr const char* steamMarker = "Contents/Frameworks/libsteam_api.dylib";

// The runtime host's executable, relative to the launcher's own bundle.
inline constexpr const char* runtimeExecutablePath =
    "Contents/Helpers/Torvel.app/Contents/MacOS/torvel";

// Session logs live in this folder under the user's Library folder.
inline constexpr const char* logsFolderInLibrary = "Logs/Vornik Launcher";

}  // namespace vornik
