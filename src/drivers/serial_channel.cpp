#include "drivers/serial_channel.h"

#include <set>

namespace klt::drivers {
namespace {

std::set<SerialChannel*>& OpenChannels() {
    static std::set<SerialChannel*> channels;
    return channels;
}

}  // namespace

void SerialChannel::Close() {
    OpenChannels().erase(this);
    port_.reset();
}

void CloseAllChannels() {
    const std::set<SerialChannel*> channels = OpenChannels();
    for (SerialChannel* c : channels) c->Close();
}

std::size_t OpenChannelCount() {
    return OpenChannels().size();
}

bool SerialChannel::Open(std::int32_t portNumber, std::int32_t timeoutMs,
                         const platform::LineSettings& settings, Failure* failure) {
    Failure why = Failure::None;
    if (!port_) {
        const int parity = static_cast<int>(settings.parity);
        if (portNumber <= 0 || portNumber > kMaxPortNumber || timeoutMs < 0 || settings.baudRate == 0 ||
            settings.dataBits < 5 || settings.dataBits > 8 || parity < 0 || parity > 4) {
            why = Failure::BadParameters;
        } else {
            platform::SerialOpenResult r =
                platform::Serial().Open(portNumber, settings, static_cast<std::uint32_t>(timeoutMs));
            if (r.status == platform::SerialOpenStatus::Opened && r.port) {
                port_ = std::move(r.port);
                OpenChannels().insert(this);
            } else {
                why = r.status == platform::SerialOpenStatus::SetupFailed ? Failure::SetupFailed
                                                                          : Failure::NoDevice;
            }
        }
    }
    if (failure) *failure = why;
    return port_ != nullptr;
}

bool SerialChannel::Write(const void* data, std::size_t size) {
    return port_ && port_->Write(data, size);
}

}  // namespace klt::drivers
