#pragma once
// Notices between workstations: one short UDP broadcast "name_number" after an order changed, and
// the listening side that hall views and the monitor keep while they are open.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/sockets.h"

namespace klt::frontdesk {

inline constexpr std::uint16_t kNoticeSourcePort = 888;
inline constexpr std::size_t kMaxNoticeBytes = 99;
inline constexpr std::size_t kMaxDatagramBytes = 1024;

// "%s_%d": name, "_", the number in decimal without leading zeros.
std::string NoticeText(const std::string& name, std::int32_t number);

// Broadcasts one notice to `port` from local port 888. Answers whether it went out; a text longer
// than 99 bytes, or a port outside 1..65535, is refused without sending anything.
bool SendNotice(std::int32_t port, const std::string& name, std::int32_t number);

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

}  // namespace klt::frontdesk
