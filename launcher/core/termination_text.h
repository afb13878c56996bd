#pragma once
// The status line that reports how the runtime host ended. An uncaught
// signal is reported as such whatever its number; otherwise the exit status
// picks the text.

#include <string>

namespace vornik {

// The exit status by which the runtime host says that none of its
// compatibility profiles matched this build of the game.
inline constexpr int noProfileStatus = 78;

std::string terminationText(int status, bool signaled);

}  // namespace vornik
