#pragma once
// The time of day as the sender's hourly limit counts it, in seconds since
// 1970 (UTC), behind an interface that tests replace.

#include <cstdint>
#include <ctime>

namespace tessaly {

class WallClock {
public:
    virtual ~WallClock() = default;
    virtual std::int64_t now() const = 0;
};

class SystemWallClock final : public WallClock {
public:
    std::int64_t now() const override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

} // namespace tessaly
