#pragma once
// The listening side of the notices between workstations: every open hall window keeps one socket
// on its port and hears the short "name_number" texts that other workstations send after an order
// changed.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/sockets.h"

namespace klt::halls {

inline constexpr std::size_t kMaxDatagramBytes = 1024;

enum class ViewKind { Hall, Bar };

// The text a hall view of this kind and number reacts to: "ИзЗала_3", "ИзБара_-1".
std::string OwnKey(ViewKind kind, std::int32_t number);

class NoticeSocket {
  public:
    using Handler = std::function<void(const std::string& text)>;
    NoticeSocket() = default;
    ~NoticeSocket() { Stop(); }
    // Every listening socket is known to the shut-down, so it stays where it was created.
    NoticeSocket(const NoticeSocket&) = delete;
    NoticeSocket& operator=(const NoticeSocket&) = delete;

    // Listens on `port` (0: any free port, so no notice will find it) until Stop, destruction or
    // shut-down. A failure is not reported: the owner simply hears nothing.
    bool StartListening(std::int32_t port, Handler onNotice);
    void Stop();
    bool Listening() const { return listener_ != nullptr; }
    std::uint16_t Port() const { return listener_ ? listener_->Port() : 0; }

  private:
    std::unique_ptr<platform::DatagramListener> listener_;
};

// Shut-down: every notice socket of the process stops listening and closes.
void StopAllNoticeSockets();

}  // namespace klt::halls
