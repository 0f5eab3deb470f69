#include "platform/tick_counter.h"
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
    std::int64_t MonotonicMs() override {
        if (tickCount64_ != nullptr) return static_cast<std::int64_t>(tickCount64_());
        return ticks_.Extend(GetTickCount());
    }

  private:
    // GetTickCount64 is Vista's: imported by name it would keep the DLL from loading on XP.
    using TickCount64 = ULONGLONG(WINAPI*)();
    TickCount64 tickCount64_ = reinterpret_cast<TickCount64>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
    TickCounter ticks_;
};

}  // namespace

Clock& DefaultClock() {
    static Win32Clock clock;
    return clock;
}

}  // namespace klt::platform::win32
