#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/service_slot.h"
#include "platform/serial.h"

namespace klt::platform {

namespace {

std::int64_t NowMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// COM<n> as a device path: a folder of named ports (pseudo-terminals in tests, links to real
// adapters elsewhere) or the n-th standard serial line.
std::string DevicePath(int number) {
    if (const char* dir = std::getenv("KLT_SERIAL_DIR"); dir && *dir)
        return std::string(dir) + "/COM" + std::to_string(number);
    return "/dev/ttyS" + std::to_string(number - 1);
}

bool SpeedOf(std::uint32_t baud, speed_t& speed) {
    struct Rate {
        std::uint32_t baud;
        speed_t speed;
    };
    static const Rate kRates[] = {
        {50, B50},         {75, B75},         {110, B110},       {134, B134},     {150, B150},
        {200, B200},       {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
        {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
        {57600, B57600},   {115200, B115200}, {230400, B230400},
#ifdef B460800
        {460800, B460800},
#endif
#ifdef B921600
        {921600, B921600},
#endif
    };
    for (const Rate& r : kRates) {
        if (r.baud == baud) {
            speed = r.speed;
            return true;
        }
    }
    return false;
}

bool Configure(int fd, const LineSettings& s, std::uint32_t timeoutMs) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return false;
    speed_t speed{};
    if (!SpeedOf(s.baudRate, speed)) return false;
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0) return false;

    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD);
#ifdef CMSPAR
    t.c_cflag &= ~static_cast<tcflag_t>(CMSPAR);
#endif
    switch (s.dataBits) {
        case 5:
            t.c_cflag |= CS5;
            break;
        case 6:
            t.c_cflag |= CS6;
            break;
        case 7:
            t.c_cflag |= CS7;
            break;
        case 8:
            t.c_cflag |= CS8;
            break;
        default:
            return false;
    }
    switch (s.parity) {
        case Parity::None:
            break;
        case Parity::Odd:
            t.c_cflag |= PARENB | PARODD;
            break;
        case Parity::Even:
            t.c_cflag |= PARENB;
            break;
#ifdef CMSPAR
        case Parity::Mark:
            t.c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case Parity::Space:
            t.c_cflag |= PARENB | CMSPAR;
            break;
#endif
        default:
            return false;
    }
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    // Fully raw, both ways: no output post-processing (0A must not grow a 0D), no echo of what the
    // device sends back, no line editing or signals, no byte changed on input, and no software
    // flow control: printers put 13 (XOFF) into status replies, and a line stopped by it would
    // never print the job. Parity errors are checked.
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | INLCR | IGNCR | ICRNL | ISTRIP | PARMRK | IGNPAR |
                                        IXON | IXOFF | IXANY | IMAXBEL);
    t.c_iflag |= INPCK;
    // The read time-out, in tenths of a second; nothing here reads yet, but the port is set as a
    // reader would expect it.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = static_cast<cc_t>(timeoutMs / 100 > 255 ? 255 : timeoutMs / 100);
    if (::tcsetattr(fd, TCSANOW, &t) != 0) return false;
    return ::tcflush(fd, TCIOFLUSH) == 0;
}

class PosixSerialPort : public SerialPort {
  public:
    PosixSerialPort(int fd, std::uint32_t writeTimeoutMs) : fd_(fd), writeTimeoutMs_(writeTimeoutMs) {}
    ~PosixSerialPort() override { ::close(fd_); }
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool Write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        const std::int64_t deadline = NowMs() + writeTimeoutMs_;
        while (size > 0) {
            ssize_t n = ::write(fd_, p, size);
            if (n > 0) {
                p += n;
                size -= static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) return false;  // EIO: peer gone
            // The device is not taking bytes: wait for room, within the write time-out.
            const std::int64_t left = deadline - NowMs();
            if (left <= 0) return false;
            pollfd pfd{fd_, POLLOUT, 0};
            int r = ::poll(&pfd, 1, static_cast<int>(left));
            if (r < 0 && errno != EINTR) return false;
            if (r == 0) return false;
            if (r > 0 && (pfd.revents & (POLLERR | POLLNVAL))) return false;
        }
        return true;
    }

  private:
    int fd_;
    std::uint32_t writeTimeoutMs_;
};

class PosixSerialPorts : public SerialPorts {
  public:
    SerialOpenResult Open(int number, const LineSettings& settings, std::uint32_t timeoutMs) override {
        SerialOpenResult result;
        if (number <= 0) return result;
        int fd = ::open(DevicePath(number).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return result;
        // No sharing: a second opener, in this process or another, is refused as Windows does.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return result;
        }
        if (!Configure(fd, settings, timeoutMs)) {
            ::close(fd);
            result.status = SerialOpenStatus::SetupFailed;
            return result;
        }
        result.port = std::make_unique<PosixSerialPort>(fd, WriteTimeoutMs(timeoutMs, settings.stallLimitMs));
        result.status = SerialOpenStatus::Opened;
        return result;
    }
};

}  // namespace

SerialPorts& Serial() {
    return *ServiceSlot<SerialPorts, PosixSerialPorts>();
}

SerialPorts* ReplaceSerial(SerialPorts* ports) {
    return ReplaceService<SerialPorts, PosixSerialPorts>(ports);
}

}  // namespace klt::platform
