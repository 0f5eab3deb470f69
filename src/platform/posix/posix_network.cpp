#include "platform/headless.h"
#include "platform/network.h"
#include "platform/service_slot.h"

namespace klt::platform {

// No network neighbourhood natively: what the tests or the emulated host put there.
NetworkNeighbourhood& Neighbourhood() {
    return *ServiceSlot<NetworkNeighbourhood, FakeNetwork>();
}

NetworkNeighbourhood* ReplaceNeighbourhood(NetworkNeighbourhood* network) {
    return ReplaceService<NetworkNeighbourhood, FakeNetwork>(network);
}

}  // namespace klt::platform
