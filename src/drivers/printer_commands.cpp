#include "drivers/printer_commands.h"

#include <algorithm>

namespace klt::drivers {

std::string PrintModeCommand(bool underline, bool doubleWidth, bool doubleHeight, bool emphasis,
                             bool smallFont) {
    unsigned n = (underline ? 0x80u : 0u) | (doubleWidth ? 0x20u : 0u) | (doubleHeight ? 0x10u : 0u) |
                 (emphasis ? 0x08u : 0u) | (smallFont ? 0x01u : 0u);
    return Command({'\x1B', '\x21', static_cast<char>(n)});
}

std::string LineCommand(std::string_view text, bool lineFeed) {
    std::string out(text.substr(0, text.find('\0')));
    if (lineFeed) out += '\n';
    return out;
}

std::string BarcodeCommand(std::string_view data) {
    data = data.substr(0, data.find('\0'));
    if (data.empty() || data.size() > 255) return {};
    const bool digits = std::all_of(data.begin(), data.end(), [](char c) { return c >= '0' && c <= '9'; });
    char m;
    std::string bytes(data);
    if (digits && data.size() == 13) {
        m = 2;
    } else if (digits && data.size() == 8) {
        m = 3;
    } else if (digits && data.size() == 12) {
        m = 0;
    } else {
        m = 4;
        for (char& c : bytes) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            const bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                            std::string_view(" $%+-./").find(c) != std::string_view::npos;
            if (!ok) return {};
        }
    }
    std::string out{'\x1D', '\x6B', m};
    out += bytes;
    out += '\0';
    return out;
}

}  // namespace klt::drivers
