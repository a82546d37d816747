#pragma once
// The misclick guard of the action buttons: a button whose meaning has just
// changed ("Check" became "Call 9000") ignores clicks and hotkeys for half
// a second, so a click aimed at the old meaning does not answer the new one.

#include <cstdint>
#include <functional>
#include <map>

namespace tessaly {

class MisclickGuard {
public:
    static constexpr std::int64_t kHoldMs = 500;
    // Milliseconds on a clock that never goes back.
    using Clock = std::function<std::int64_t()>;

    explicit MisclickGuard(Clock clock = steadyMilliseconds);

    // The control's meaning changed now.
    void meaningChanged(int control);
    // False while the control's last change is less than kHoldMs old.
    bool accepts(int control) const;

    static std::int64_t steadyMilliseconds();

private:
    Clock clock_;
    std::map<int, std::int64_t> changedAt_;
};

} // namespace tessaly
