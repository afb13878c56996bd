#pragma once
// The environment variables through which the runtime host receives the
// launch options; their names are the runtime host's.

namespace vornik {

inline constexpr const char* directVariable = "TORVEL_VORNIK_DIRECT";
inline constexpr const char* skipStartupVideosVariable = "TORVEL_VORNIK_SKIP_STARTUP_VIDEOS";
inline constexpr const char* windowModeVariable = "TORVEL_VORNIK_WINDOW_MODE";
inline constexpr const char* adaptiveTriggersVariable = "TORVEL_VORNIK_ADAPTIVE_TRIGGERS";

}  // namespace vornik
