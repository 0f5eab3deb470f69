#include "platform/files.h"

#include "text/cp1251.h"

namespace klt::platform {

bool FileSystem::ReadAll(const std::string& path, std::string& bytes, std::size_t limit) {
    bytes.clear();
    std::unique_ptr<File> f = Open(path, OpenMode::Read);
    if (!f) return false;
    char buffer[65536];
    while (bytes.size() < limit) {
        std::size_t want = std::min(sizeof buffer, limit - bytes.size());
        std::int64_t got = f->Read(buffer, want);
        if (got < 0) return false;
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

bool FileSystem::WriteAll(const std::string& path, const std::string& bytes) {
    std::unique_ptr<File> f = Open(path, OpenMode::Create);
    return f && f->Write(bytes.data(), bytes.size());
}

bool FileSystem::WriteAllReplacing(const std::string& path, const std::string& bytes) {
    const std::string beside = path + ".new";
    if (WriteAll(beside, bytes) && Replace(beside, path)) return true;
    Remove(beside);
    return false;
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    // Iterative match with one backtrack point: linear in practice, never exponential.
    std::size_t p = 0, n = 0, star = std::string::npos, mark = 0;
    auto same = [](char a, char b) {
        return text::ToLower(static_cast<unsigned char>(a)) == text::ToLower(static_cast<unsigned char>(b));
    };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && same(pattern[p], name[n])))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace klt::platform
