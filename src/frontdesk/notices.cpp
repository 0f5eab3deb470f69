#include "frontdesk/notices.h"

#include "platform/sockets.h"
#include "text/format.h"

namespace klt::frontdesk {

std::string NoticeText(const std::string& name, std::int32_t number) {
    return text::Format("%s_%d", name.c_str(), static_cast<int>(number));
}

bool SendNotice(std::int32_t port, const std::string& name, std::int32_t number) {
    // The name is a C string on the wire's side: it ends at its first zero byte.
    std::string text = NoticeText(std::string(name.c_str()), number);
    if (text.size() > kMaxNoticeBytes || port < 1 || port > 65535) return false;
    return platform::Net().SendBroadcast(kNoticeSourcePort, static_cast<std::uint16_t>(port), text);
}

}  // namespace klt::frontdesk
