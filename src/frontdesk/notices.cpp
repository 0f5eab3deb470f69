#include "frontdesk/notices.h"

#include <cstring>
#include <set>

#include "text/format.h"
#include "text/literal.h"

namespace klt::frontdesk {

using namespace klt::text::literals;

std::string NoticeText(const std::string& name, std::int32_t number) {
    return text::Format("%s_%d", name.c_str(), static_cast<int>(number));
}

bool SendNotice(std::int32_t port, const std::string& name, std::int32_t number) {
    // The name is a C string on the wire's side: it ends at its first zero byte.
    std::string text = NoticeText(std::string(name.c_str()), number);
    if (text.size() > kMaxNoticeBytes || port < 1 || port > 65535) return false;
    return platform::Net().SendBroadcast(kNoticeSourcePort, static_cast<std::uint16_t>(port), text);
}

std::string OwnKey(ViewKind kind, std::int32_t number) {
    return NoticeText(std::string(kind == ViewKind::Hall ? "ИзЗала"_cp : "ИзБара"_cp), number);
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

}  // namespace klt::frontdesk
