#pragma once
// Play, from the press to the runtime host's first instruction: with the
// development stand-in at the runtime host's place, the moment its first
// output reaches the new session log (it writes its report first thing in
// main and flushes it).

#include <vector>

namespace vornik::bench {

struct PlayRun {
    double launched = 0;     // startGame returned: verified, log created, child started
    double firstOutput = 0;  // the stand-in's first bytes in the session log
};

std::vector<PlayRun> timePlay(int runs);

}  // namespace vornik::bench
