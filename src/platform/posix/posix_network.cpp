#include "platform/network.h"
#include "platform/service_slot.h"

namespace klt::platform {

// No network neighbourhood natively: what the tests or the emulated host put there.
NetworkNeighbourhood& Network() {
    return *ServiceSlot<NetworkNeighbourhood, FakeNetwork>();
}

NetworkNeighbourhood* ReplaceNetwork(NetworkNeighbourhood* network) {
    return ReplaceService<NetworkNeighbourhood, FakeNetwork>(network);
}

}  // namespace klt::platform
