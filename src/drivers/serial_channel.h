#pragma once
// The printer and display port: opened once with the class's line settings, written, closed.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/serial.h"

namespace klt::drivers {

// Caption of the drivers' message boxes.
inline constexpr const char* kMessageCaption = "KLT DRV";

class SerialChannel {
  public:
    SerialChannel() = default;
    ~SerialChannel() { Close(); }
    // Every open channel is known to the shut-down, so it stays where it was created.
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    enum class Failure {
        None,
        BadParameters,  // port number, time-out or line settings out of range: nothing opened
        NoDevice,       // the device could not be opened (missing or held elsewhere)
        SetupFailed,    // opened but refused the settings; closed again
    };

    // Answers whether the channel is open afterwards. An open channel stays as it is and answers
    // true whatever the new parameters.
    bool Open(std::int32_t portNumber, std::int32_t timeoutMs, const platform::LineSettings& settings,
              Failure* failure = nullptr);
    bool IsOpen() const { return port_ != nullptr; }
    // One synchronous write; false on a closed channel or when the device did not take every byte.
    bool Write(const void* data, std::size_t size);
    void Close();

    // Port numbers Windows can name; anything else is refused before a device is touched.
    static constexpr std::int32_t kMaxPortNumber = 256;

  private:
    std::unique_ptr<platform::SerialPort> port_;
};

// Shut-down: every open channel of the process closes, whichever object holds it.
void CloseAllChannels();
std::size_t OpenChannelCount();

}  // namespace klt::drivers
