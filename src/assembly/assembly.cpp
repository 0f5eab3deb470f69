#include "assembly/assembly.h"

#include "core/addin.h"
#include "drivers/aura.h"
#include "drivers/lifecycle.h"
#include "drivers/nippon.h"
#include "drivers/serial_channel.h"
#include "drivers/tablo.h"
#include "frontdesk/lifecycle.h"
#include "frontdesk/vkusnica.h"
#include "halls/lifecycle.h"
#include "halls/zaly.h"
#include "hostwin/interception.h"
#include "hostwin/lifecycle.h"
#include "hostwin/picture_menu.h"
#include "hostwin/windows_object.h"
#include "platform/platform.h"
#include "ui/dialog.h"

namespace klt::assembly {
namespace {

// Shut-down of the subsystems, the last started first.
void StopSubsystems() {
    hostwin::Stop();
    frontdesk::Stop();
    halls::Stop();
    drivers::Stop();
}

}  // namespace

const std::array<core::ClassEntry, core::kClassCount>& Classes() {
    static const std::array<core::ClassEntry, core::kClassCount> classes{{
        {"Vkusnica", &frontdesk::kCWinRuntimeClass},
        {"Windows", &hostwin::kCWin1RuntimeClass},
        {"Aura", &drivers::kCAuraRuntimeClass},
        {"Nippon", &drivers::kCNipponRuntimeClass},
        {"Tablo", &drivers::kCTabloRuntimeClass},
        {"Zaly", &halls::kCZalRuntimeClass},
    }};
    return classes;
}

void Init(host::Host* host, host::EventSink* sink) {
    if (core::State().initialised) Done();  // a second Init must not stack hooks or registrations
    frontdesk::ConnectPictureMenu(
        {&hostwin::ShowPictureMenu, &hostwin::PictureMenuForward, &hostwin::PictureMenuBack});
    core::Init(host, sink, Classes(),
               {&hostwin::WorkplaceFormHook, &hostwin::PocketFormHook, &hostwin::AdminFormHook,
                &hostwin::InstallHostPatches});
    frontdesk::Start(core::State().rightsSetName);
}

void Done() {
    // The core first: unregistered classes, and no event reaches the host while the rest stops.
    core::Done();
    StopSubsystems();
    ui::ReleaseCachedResources();  // no window of ours is left to show them
}

bool InUse() {
    const platform::Services& services = platform::Get();
    return core::State().initialised || hostwin::HostPatched() ||
           (services.hooks && services.hooks->Count() != 0) ||
           (services.loop && !services.loop->Held().Empty()) || drivers::OpenChannelCount() != 0;
}

void ResetProcessState() {
    Done();
    core::State() = core::AddInState();
    frontdesk::Reset();
    drivers::Reset();
    hostwin::Reset();
    halls::Reset();
}

}  // namespace klt::assembly
