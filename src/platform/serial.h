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

// Always one stop bit, binary transfer and parity checking; everything else stays as the device
// has it.
struct LineSettings {
    std::uint32_t baudRate = 9600;
    int dataBits = 8;  // 5..8
    Parity parity = Parity::None;
    bool abortOnError = false;  // Windows only: stop transfers after a line error until cleared
};

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // One synchronous write; true only when every byte left within the port's write time-out.
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
    // total read and write time-out constants to `timeoutMs` (0: no total limit, as Windows
    // reads it) and purges both directions. The device is closed again when any step fails.
    virtual SerialOpenResult Open(int number, const LineSettings& settings, std::uint32_t timeoutMs) = 0;
};

// The serial ports in force; tests may swap them.
SerialPorts& Serial();
SerialPorts* ReplaceSerial(SerialPorts* ports);

}  // namespace klt::platform
