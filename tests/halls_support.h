#pragma once
// What the hall window tests share: a scratch information base, rights strings and pictures.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>

#include "ui/types.h"

namespace klt::test {

// A fresh folder under the system's temporary one, removed with everything in it when it goes.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& prefix) {
        std::random_device random;
        do {
            path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // As the host gives a folder: ending in a backslash.
    std::string HostPath() const { return path_.string() + "\\"; }

  private:
    std::filesystem::path path_;
};

// The rights string granting exactly these rights.
inline std::string Rights(std::initializer_list<int> granted) {
    std::string r(100, '0');
    for (int n : granted) r[static_cast<std::size_t>(n - 1)] = '1';
    return r;
}

// A 24-bit bottom-up bitmap file of one colour but for its top-left pixel.
inline std::string Bmp(int width, int height, ui::Colour fill = ui::Rgb(0x40, 0x40, 0x40),
                       ui::Colour topLeft = ui::Rgb(0x40, 0x40, 0x40)) {
    const int row = (width * 3 + 3) & ~3;
    std::string b(static_cast<std::size_t>(54 + row * height), '\0');
    auto put = [&b](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put(2, static_cast<std::uint32_t>(b.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Bottom-up: the top row is the last in the file.
            const ui::Colour c = x == 0 && y == height - 1 ? topLeft : fill;
            const std::size_t at = 54 + static_cast<std::size_t>(y * row + x * 3);
            b[at] = static_cast<char>(ui::Blue(c));
            b[at + 1] = static_cast<char>(ui::Green(c));
            b[at + 2] = static_cast<char>(ui::Red(c));
        }
    return b;
}

}  // namespace klt::test
