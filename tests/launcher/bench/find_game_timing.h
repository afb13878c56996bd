#pragma once
// findGame on a home folder and a system applications folder that each hold
// a few hundred entries: application bundles of other programs, folders with
// bundles inside, plain folders and files.

#include <string>
#include <vector>

namespace vornik::bench {

enum class GamePlace {
    nowhere,           // the whole search, through the identifier lookup, finds nothing
    identifierLookup,  // only the identifier lookup finds it, in the last folder it looks into
    systemFolder,      // "/Applications/Vornik Complete Edition.app": the second candidate
};

const char* describe(GamePlace place);

// Milliseconds of each findGame, one fresh launcher and folder set per run.
// `found` receives whether the last run adopted the game.
std::vector<double> timeFindGame(int entriesPerFolder, GamePlace place, int runs, bool& found);

}  // namespace vornik::bench
