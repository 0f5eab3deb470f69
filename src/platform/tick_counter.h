#pragma once
// A 32-bit millisecond counter that wraps every 49.7 days (Windows XP has no other), carried on
// into 64 bits. Right as long as it is read at least once per wrap; one thread reads it.
#include <cstdint>

namespace klt::platform {

class TickCounter {
  public:
    std::int64_t Extend(std::uint32_t ticks) {
        if (ticks < last_) high_ += std::int64_t{1} << 32;
        last_ = ticks;
        return high_ + ticks;
    }

  private:
    std::uint32_t last_ = 0;
    std::int64_t high_ = 0;
};

}  // namespace klt::platform
