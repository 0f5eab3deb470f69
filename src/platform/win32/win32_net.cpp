#include <winsock2.h>

#include <memory>
#include <vector>

#include "platform/service_slot.h"
#include "platform/platform.h"
#include "platform/sockets.h"

namespace klt::platform {
namespace {

// The socket layer is initialised on first use, whichever comes first: a send or a listener.
bool Startup() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

SOCKET BoundUdpSocket(std::uint16_t port, bool broadcast) {
    if (!Startup()) return INVALID_SOCKET;
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET) return s;
    BOOL one = TRUE;
    if (broadcast) setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&one), sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(port);
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

class WinListener : public DatagramListener {
  public:
    WinListener(SOCKET socket, std::size_t maxBytes, Network::DatagramHandler handler)
        : socket_(socket), maxBytes_(maxBytes), handler_(std::move(handler)) {}
    ~WinListener() override {
        Get().loop->Unwatch(static_cast<IoHandle>(socket_));
        closesocket(socket_);
    }
    bool Start() {
        u_long nonBlocking = 1;
        ioctlsocket(socket_, FIONBIO, &nonBlocking);
        return Get().loop->WatchReadable(static_cast<IoHandle>(socket_), [this] { Drain(); });
    }
    std::uint16_t Port() const override {
        sockaddr_in a{};
        int n = sizeof a;
        if (getsockname(socket_, reinterpret_cast<sockaddr*>(&a), &n) != 0) return 0;
        return ntohs(a.sin_port);
    }

  private:
    // A bounded number of datagrams per notification, so a flood cannot starve the loop.
    void Drain() {
        std::vector<char> buffer(maxBytes_ + 1);
        for (int i = 0; i < 64; ++i) {
            int n = recv(socket_, buffer.data(), static_cast<int>(buffer.size()), 0);
            if (n == SOCKET_ERROR) {
                if (WSAGetLastError() == WSAEMSGSIZE) continue;  // too long: dropped whole
                return;
            }
            if (static_cast<std::size_t>(n) > maxBytes_) continue;
            // The handler may close this listener (a window that shuts on a notice): it runs from a
            // copy, and nothing of the listener is touched once it is gone.
            const Network::DatagramHandler handler = handler_;
            const std::weak_ptr<bool> alive = alive_;
            handler(std::string(buffer.data(), static_cast<std::size_t>(n)));
            if (alive.expired()) return;
        }
    }

    SOCKET socket_;
    std::size_t maxBytes_;
    Network::DatagramHandler handler_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class WinNetwork : public Network {
  public:
    bool SendBroadcast(std::uint16_t localPort, std::uint16_t port, const std::string& payload) override {
        SOCKET s = BoundUdpSocket(localPort, true);
        if (s == INVALID_SOCKET) return false;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        to.sin_port = htons(port);
        bool ok =
            connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 &&
            send(s, payload.data(), static_cast<int>(payload.size()), 0) == static_cast<int>(payload.size());
        closesocket(s);
        return ok;
    }

    std::unique_ptr<DatagramListener> Listen(std::uint16_t port, std::size_t maxBytes,
                                             DatagramHandler handler) override {
        SOCKET s = BoundUdpSocket(port, false);
        if (s == INVALID_SOCKET) return nullptr;
        auto listener = std::make_unique<WinListener>(s, maxBytes, std::move(handler));
        if (!listener->Start()) return nullptr;
        return listener;
    }
};

}  // namespace

Network& Net() {
    return *ServiceSlot<Network, WinNetwork>();
}

Network* ReplaceNet(Network* network) {
    return ReplaceService<Network, WinNetwork>(network);
}

}  // namespace klt::platform
