#include "halls/notice_listener.h"

#include <set>

#include "text/format.h"
#include "text/literal.h"

namespace klt::halls {

using namespace klt::text::literals;

std::string OwnKey(ViewKind kind, std::int32_t number) {
    // The sender's "%s_%d", so the texts compare byte for byte.
    return text::Format("%s_%d", kind == ViewKind::Hall ? "ИзЗала"_cp.data() : "ИзБара"_cp.data(),
                        static_cast<int>(number));
}

namespace {

std::set<NoticeSocket*>& ListeningSockets() {
    static std::set<NoticeSocket*> sockets;
    return sockets;
}

}  // namespace

void NoticeSocket::Stop() {
    ListeningSockets().erase(this);
    listener_.reset();
}

void StopAllNoticeSockets() {
    const std::set<NoticeSocket*> sockets = ListeningSockets();
    for (NoticeSocket* s : sockets) s->Stop();
}

bool NoticeSocket::StartListening(std::int32_t port, Handler onNotice) {
    Stop();
    if (port < 0 || port > 65535 || !onNotice) return false;
    listener_ = platform::Net().Listen(static_cast<std::uint16_t>(port), kMaxDatagramBytes,
                                       [handler = std::move(onNotice)](const std::string& payload) {
                                           // The text ends at the first zero byte, as a C string does.
                                           handler(std::string(payload.c_str()));
                                       });
    if (!listener_) return false;
    ListeningSockets().insert(this);
    return true;
}

}  // namespace klt::halls
