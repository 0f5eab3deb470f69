#include "frontdesk/lifecycle.h"

#include "core/addin.h"
#include "frontdesk/keyboard_filters.h"
#include "frontdesk/settings.h"

namespace klt::frontdesk {

void Start(const std::string& rightsSet) {
    FrontDeskSettings& s = Settings();
    s.keyLock.Reset();
    if (rightsSet == core::kWorkplaceRights)
        s.keyLock = platform::ScopedHook(platform::HookKind::Keyboard, &WorkplaceKeyLock);
}

void Stop() {
    StopKeyboardFilters();
}

void Reset() {
    Stop();
    Settings() = FrontDeskSettings();
    ResetKeyBurst();
}

}  // namespace klt::frontdesk
