#pragma once
// The emulated host's console: arguments and output are UTF-8 on every system.
#include <string>
#include <vector>

namespace klt::emu {

std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace klt::emu
