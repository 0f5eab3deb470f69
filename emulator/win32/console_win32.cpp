#include <windows.h>
#include <shellapi.h>

#include "emulator/console.h"

namespace klt::emu {

// The narrow argv of a Windows program is in the ANSI code page; the wide command line is not.
std::vector<std::string> Utf8Arguments(int, char**) {
    std::vector<std::string> out;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return out;
    for (int i = 0; i < count; ++i) {
        int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string s(n > 0 ? static_cast<std::size_t>(n) : 1u, '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, s.data(), n, nullptr, nullptr);
        s.resize(s.size() - 1);
        out.push_back(std::move(s));
    }
    LocalFree(wide);
    return out;
}

}  // namespace klt::emu
