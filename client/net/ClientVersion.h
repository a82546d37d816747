#pragma once
// The version compiled into the client. The start-up compares the web
// server's version files with it; the lobby and the about box show it.

namespace tessaly {

inline constexpr double kClientVersion = 6.7;

} // namespace tessaly
