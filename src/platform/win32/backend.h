#pragma once
// The Win32 services, one instance each for the whole process; services.cpp hands them out as the
// defaults of platform::Get().
#include "platform/platform.h"

namespace klt::platform::win32 {

Clock& DefaultClock();
Loop& DefaultLoop();
Hooks& DefaultHooks();
Desktop& DefaultDesktop();
HostPatcher& DefaultHostPatcher();

}  // namespace klt::platform::win32
