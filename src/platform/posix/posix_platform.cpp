#include <time.h>

#include <chrono>

#include "platform/headless.h"

namespace klt::platform {
namespace {

DateTime FromTm(const struct tm& t, int ms) {
    DateTime d;
    d.year = t.tm_year + 1900;
    d.month = t.tm_mon + 1;
    d.day = t.tm_mday;
    d.hour = t.tm_hour;
    d.minute = t.tm_min;
    d.second = t.tm_sec;
    d.millisecond = ms;
    d.dayOfWeek = t.tm_wday;
    return d;
}

DateTime Now(bool local) {
    struct timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm t {};
    if (local)
        localtime_r(&ts.tv_sec, &t);
    else
        gmtime_r(&ts.tv_sec, &t);
    return FromTm(t, static_cast<int>(ts.tv_nsec / 1000000));
}

class RealClock : public Clock {
  public:
    DateTime LocalNow() override { return Now(true); }
    DateTime UtcNow() override { return Now(false); }
    std::int64_t MonotonicMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

struct Defaults {
    RealClock clock;
    NativeLoop loop{clock, nullptr};
    NativeHooks hooks;
    NativeDesktop desktop;
    NativeHostPatcher patcher;
};

Services& Current() {
    static Defaults defaults;
    static Services services{&defaults.clock, &defaults.loop, &defaults.hooks, &defaults.desktop,
                             &defaults.patcher};
    return services;
}

}  // namespace

Services& Get() {
    return Current();
}

Services Replace(const Services& services) {
    Services previous = Current();
    Current() = services;
    return previous;
}

}  // namespace klt::platform
