#pragma once
// The network neighbourhood as the computer choice browses it: providers, their domains, and the
// computers in each. Under Windows the system's network-resource enumeration; natively a tree the
// tests or the emulated host fill in (FakeNetwork, platform/headless.h).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace klt::platform {

// An entry of the neighbourhood with what the system needs to enumerate what lies below it.
struct NetworkEntry {
    std::string remoteName;  // CP1251; a computer's begins with "\\"
    std::string provider;
    std::uint32_t scope = 0, type = 0, displayType = 0, usage = 0;
};

class NetworkNeighbourhood {
  public:
    virtual ~NetworkNeighbourhood() = default;
    // The entries directly below `parent` (null: the top level), read into a buffer of
    // `bufferBytes` at a time; none when the enumeration cannot be opened.
    virtual std::vector<NetworkEntry> Children(const NetworkEntry* parent, std::size_t bufferBytes) = 0;
};

NetworkNeighbourhood& Neighbourhood();
NetworkNeighbourhood* ReplaceNeighbourhood(NetworkNeighbourhood* network);

}  // namespace klt::platform
