#include "halls/lifecycle.h"

#include "halls/notice_listener.h"
#include "halls/plan.h"

namespace klt::halls {

void Stop() {
    StopAllNoticeSockets();
}

void Reset() {
    Stop();
    SetCurrentFormatWord(kInitialFormatWord);
}

}  // namespace klt::halls
