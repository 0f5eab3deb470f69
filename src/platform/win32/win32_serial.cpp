#include <string>

#include "platform/service_slot.h"
#include "platform/serial.h"
#include "platform/win32/owners.h"
#include "platform/win32/win32_api.h"

namespace klt::platform {

namespace {

class Win32SerialPort : public SerialPort {
  public:
    explicit Win32SerialPort(win32::KernelHandle handle) : handle_(std::move(handle)) {}

    bool Write(const void* data, std::size_t size) override {
        if (size > MAXDWORD) return false;
        DWORD written = 0;
        if (WriteFile(handle_.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size)
            return true;
        // With abort-on-error set, a line error stops every transfer until it is cleared; clear it
        // so that the next attempt can get through.
        DWORD errors = 0;
        ClearCommError(handle_.Get(), &errors, nullptr);
        return false;
    }

  private:
    win32::KernelHandle handle_;
};

bool Configure(HANDLE h, const LineSettings& s, std::uint32_t timeoutMs) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) return false;
    dcb.BaudRate = s.baudRate;
    dcb.ByteSize = static_cast<BYTE>(s.dataBits);
    dcb.Parity = static_cast<BYTE>(s.parity);
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = TRUE;
    dcb.fAbortOnError = s.abortOnError ? TRUE : FALSE;
    // No software flow control: a 13 (XOFF) in a printer's status reply must not stop the line.
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    if (!SetCommState(h, &dcb)) return false;

    COMMTIMEOUTS t{};
    if (!GetCommTimeouts(h, &t)) return false;
    t.ReadTotalTimeoutConstant = timeoutMs;
    // Never 0 (no limit), never above the stall limit: a device that takes nothing must not hold
    // the thread. The multiplier stays as the device had it.
    t.WriteTotalTimeoutConstant = WriteTimeoutMs(timeoutMs, s.stallLimitMs);
    if (!SetCommTimeouts(h, &t)) return false;
    return PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR) != FALSE;
}

class Win32SerialPorts : public SerialPorts {
  public:
    SerialOpenResult Open(int number, const LineSettings& settings, std::uint32_t timeoutMs) override {
        SerialOpenResult result;
        if (number <= 0) return result;
        // The device namespace form names ports above COM9 as well.
        const std::wstring name = L"\\\\.\\COM" + std::to_wstring(number);
        win32::KernelHandle h(win32::NullIfInvalid(
            CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
        if (!h) return result;
        if (!Configure(h.Get(), settings, timeoutMs)) {
            result.status = SerialOpenStatus::SetupFailed;
            return result;
        }
        result.port = std::make_unique<Win32SerialPort>(std::move(h));
        result.status = SerialOpenStatus::Opened;
        return result;
    }
};

}  // namespace

SerialPorts& Serial() {
    return *ServiceSlot<SerialPorts, Win32SerialPorts>();
}

SerialPorts* ReplaceSerial(SerialPorts* ports) {
    return ReplaceService<SerialPorts, Win32SerialPorts>(ports);
}

}  // namespace klt::platform
