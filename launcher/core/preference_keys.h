#pragma once
// The keys under which the launcher keeps its preferences: the adopted
// game's path and the three launch options.

namespace vornik {

inline constexpr const char* gamePathKey = "gamePath";
inline constexpr const char* skipStartupVideosKey = "skipStartupVideos";
inline constexpr const char* runInWindowKey = "runInWindow";
inline constexpr const char* adaptiveTriggersKey = "adaptiveTriggers";

}  // namespace vornik
