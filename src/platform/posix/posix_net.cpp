#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "platform/service_slot.h"
#include "platform/platform.h"
#include "platform/sockets.h"

namespace klt::platform {
namespace {

int BoundUdpSocket(std::uint16_t port, bool broadcast) {
    int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) return -1;
    int one = 1;
    if (broadcast) ::setsockopt(s, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    a.sin_port = htons(port);
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

class PosixListener : public DatagramListener {
  public:
    PosixListener(int socket, std::size_t maxBytes, Network::DatagramHandler handler)
        : socket_(socket), maxBytes_(maxBytes), handler_(std::move(handler)) {}
    ~PosixListener() override {
        Get().loop->Unwatch(socket_);
        ::close(socket_);
    }
    bool Start() {
        return Get().loop->WatchReadable(socket_, [this] { Drain(); });
    }
    std::uint16_t Port() const override {
        sockaddr_in a{};
        socklen_t n = sizeof a;
        if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&a), &n) != 0) return 0;
        return ntohs(a.sin_port);
    }

  private:
    // Reads what is queued now, a bounded number of datagrams per turn, so a flood cannot keep
    // the loop from its other work.
    void Drain() {
        std::vector<char> buffer(maxBytes_ + 1);
        for (int i = 0; i < 64; ++i) {
            ssize_t n = ::recv(socket_, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
            if (n < 0) return;  // nothing more (or an error): wait for the next notification
            if (static_cast<std::size_t>(n) > maxBytes_) continue;  // too long: dropped whole
            // The handler may close this listener (a window that shuts on a notice): it runs from a
            // copy, and nothing of the listener is touched once it is gone.
            const Network::DatagramHandler handler = handler_;
            const std::weak_ptr<bool> alive = alive_;
            handler(std::string(buffer.data(), static_cast<std::size_t>(n)));
            if (alive.expired()) return;
        }
    }

    int socket_;
    std::size_t maxBytes_;
    Network::DatagramHandler handler_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class PosixNetwork : public Network {
  public:
    bool SendBroadcast(std::uint16_t localPort, std::uint16_t port, const std::string& payload) override {
        int s = BoundUdpSocket(localPort, true);
        if (s < 0) return false;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        to.sin_port = htons(port);
        bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 &&
                  ::send(s, payload.data(), payload.size(), 0) == static_cast<ssize_t>(payload.size());
        ::close(s);
        return ok;
    }

    std::unique_ptr<DatagramListener> Listen(std::uint16_t port, std::size_t maxBytes,
                                             DatagramHandler handler) override {
        int s = BoundUdpSocket(port, false);
        if (s < 0) return nullptr;
        auto listener = std::make_unique<PosixListener>(s, maxBytes, std::move(handler));
        if (!listener->Start()) return nullptr;
        return listener;
    }
};

}  // namespace

Network& Net() {
    return *ServiceSlot<Network, PosixNetwork>();
}

Network* ReplaceNet(Network* network) {
    return ReplaceService<Network, PosixNetwork>(network);
}

}  // namespace klt::platform
