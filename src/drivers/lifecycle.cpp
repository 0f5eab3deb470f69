#include "drivers/lifecycle.h"

#include "drivers/nippon.h"
#include "drivers/serial_channel.h"
#include "drivers/tablo.h"

namespace klt::drivers {

void Stop() {
    CloseAllChannels();
}

void Reset() {
    Stop();
    SharedNippon().spool.Discard();
    SharedDisplayTexts() = DisplayTexts();
}

}  // namespace klt::drivers
