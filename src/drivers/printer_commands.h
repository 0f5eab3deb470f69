#pragma once
// Command bytes shared by the two receipt printers.
#include <cstdint>
#include <string>
#include <string_view>

namespace klt::drivers {

// The low 8 bits of a parameter, as one raw byte.
inline char LowByte(std::int32_t n) {
    return static_cast<char>(static_cast<std::uint8_t>(static_cast<std::uint32_t>(n) & 0xFFu));
}

inline std::string Command(std::initializer_list<char> bytes) {
    return std::string(bytes);
}

// 1B 21 n from the switches underline, double width, double height, emphasis, small font.
std::string PrintModeCommand(bool underline, bool doubleWidth, bool doubleHeight, bool emphasis,
                             bool smallFont);

// A text as the printer receives it: up to its first NUL (the command is a C string), then 0A when
// the line is to be fed.
std::string LineCommand(std::string_view text, bool lineFeed);

// 1D 6B m data 00 for the barcode data given as text; the empty command when the data cannot be
// printed as a barcode. The system m follows from the data: 13 digits EAN-13 (2), 8 digits EAN-8
// (3), 12 digits UPC-A (0), anything else in the CODE39 set (digits, Latin letters, space and
// "$%+-./", small letters taken as capitals) CODE39 (4).
std::string BarcodeCommand(std::string_view data);

}  // namespace klt::drivers
