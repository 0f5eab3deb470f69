#pragma once
// Serial ports as the device drivers see them: a numbered port "COM<n>" opened exclusively with
// fixed line settings, a total write time-out and both buffers purged; then synchronous writes.
// The Win32 backend opens \\.\COM<n>; the POSIX one opens $KLT_SERIAL_DIR/COM<n> when that
// variable is set (tests point it at pseudo-terminals) and /dev/ttyS<n-1> otherwise.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace klt::platform {

// Parity codes as the configuration passes them (the Windows DCB codes).
enum class Parity : int { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };

// The longest a single write may wait for the device, whatever time-out the configuration gave:
// a printer that takes nothing (off line, out of paper, cable pulled) or a display that stopped
// reading must not hold the host's only thread. The time-out 0, which Windows reads as "no total
// limit", means this limit too. Three seconds lets a printer finish a cut or clear a full buffer.
inline constexpr std::uint32_t kWriteStallLimitMs = 3000;

// The total time-out of each write: the port's time-out, but never 0 and never above the limit.
inline std::uint32_t WriteTimeoutMs(std::uint32_t timeoutMs, std::uint32_t stallLimitMs) {
    if (stallLimitMs == 0) stallLimitMs = kWriteStallLimitMs;
    return timeoutMs == 0 || timeoutMs > stallLimitMs ? stallLimitMs : timeoutMs;
}

// A raw line: one stop bit, binary transfer both ways, parity checking, and no software flow
// control (a status byte 13 from the device must not stop the line) nor any other processing of
// the bytes. On Windows the hardware handshake stays as the device has it; on POSIX RTS/CTS is off.
struct LineSettings {
    std::uint32_t baudRate = 9600;
    int dataBits = 8;  // 5..8
    Parity parity = Parity::None;
    bool abortOnError = false;  // Windows only: stop transfers after a line error until cleared
    // The drivers keep the default; tests shorten it so that a stalled device costs them little.
    std::uint32_t stallLimitMs = kWriteStallLimitMs;
};

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // One synchronous write; true only when every byte left within the write time-out
    // (WriteTimeoutMs of the port's time-out and stall limit).
    virtual bool Write(const void* data, std::size_t size) = 0;
};

enum class SerialOpenStatus {
    Opened,
    NoDevice,     // missing, held by another program, or not openable at all
    SetupFailed,  // opened, but the line settings, time-outs or purge were refused
};

struct SerialOpenResult {
    std::unique_ptr<SerialPort> port;  // set only when Opened
    SerialOpenStatus status = SerialOpenStatus::NoDevice;
};

class SerialPorts {
  public:
    virtual ~SerialPorts() = default;
    // Opens COM<number> for reading and writing without sharing, applies `settings`, sets the
    // total read time-out constant to `timeoutMs` (0: no total limit, as Windows reads it) and
    // the write one to WriteTimeoutMs(timeoutMs, settings.stallLimitMs), and purges both
    // directions. The device is closed again when any step fails.
    virtual SerialOpenResult Open(int number, const LineSettings& settings, std::uint32_t timeoutMs) = 0;
};

// The serial ports in force; tests may swap them.
SerialPorts& Serial();
SerialPorts* ReplaceSerial(SerialPorts* ports);

}  // namespace klt::platform
