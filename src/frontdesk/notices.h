#pragma once
// Notices between workstations, the sending side: one short UDP broadcast "name_number" after an
// order changed. The hall windows listen (halls/notice_listener.h).
#include <cstdint>
#include <string>

namespace klt::frontdesk {

inline constexpr std::uint16_t kNoticeSourcePort = 888;
inline constexpr std::size_t kMaxNoticeBytes = 99;

// "%s_%d": name, "_", the number in decimal without leading zeros.
std::string NoticeText(const std::string& name, std::int32_t number);

// Broadcasts one notice to `port` from local port 888. Answers whether it went out; a text longer
// than 99 bytes, or a port outside 1..65535, is refused without sending anything.
bool SendNotice(std::int32_t port, const std::string& name, std::int32_t number);

}  // namespace klt::frontdesk
