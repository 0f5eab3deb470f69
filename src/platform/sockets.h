#pragma once
// UDP datagrams between workstations. Sending is blocking and short; receiving is asynchronous on
// the UI-thread loop.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace klt::platform {

class DatagramListener {
  public:
    virtual ~DatagramListener() = default;
    // The local port actually bound (the system picks one for port 0).
    virtual std::uint16_t Port() const = 0;
};

class Network {
  public:
    using DatagramHandler = std::function<void(const std::string& payload)>;
    virtual ~Network() = default;
    // One datagram from local port `localPort` on all addresses to the limited broadcast address
    // and `port`; false when any step fails.
    virtual bool SendBroadcast(std::uint16_t localPort, std::uint16_t port, const std::string& payload) = 0;
    // Receives datagrams on `port` on all local addresses; `handler` runs on the UI thread for each
    // one of at most `maxBytes` (longer ones are dropped whole). Null when the port cannot be bound.
    virtual std::unique_ptr<DatagramListener> Listen(std::uint16_t port, std::size_t maxBytes,
                                                     DatagramHandler handler) = 0;
};

Network& Net();
Network* ReplaceNet(Network* network);

}  // namespace klt::platform
