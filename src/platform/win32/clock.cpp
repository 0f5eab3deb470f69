#include "platform/win32/backend.h"
#include "platform/win32/win32_api.h"

namespace klt::platform::win32 {
namespace {

DateTime FromSystemTime(const SYSTEMTIME& st) {
    DateTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    t.dayOfWeek = st.wDayOfWeek;  // Windows counts from Sunday too
    return t;
}

class Win32Clock final : public Clock {
  public:
    DateTime LocalNow() override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return FromSystemTime(st);
    }
    DateTime UtcNow() override {
        SYSTEMTIME st;
        GetSystemTime(&st);
        return FromSystemTime(st);
    }
    std::int64_t MonotonicMs() override { return static_cast<std::int64_t>(GetTickCount64()); }
};

}  // namespace

Clock& DefaultClock() {
    static Win32Clock clock;
    return clock;
}

}  // namespace klt::platform::win32
