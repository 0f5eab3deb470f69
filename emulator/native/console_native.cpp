#include "emulator/console.h"

namespace klt::emu {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace klt::emu
