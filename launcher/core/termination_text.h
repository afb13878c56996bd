#pragma once
// The status line that reports how the runtime host ended.

#include <string>

namespace vornik {

inline constexpr int noProfileStatus = 78;

std::string terminationText(int status, bool signaled);

}  // namespace vornik
