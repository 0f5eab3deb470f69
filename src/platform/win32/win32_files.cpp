#include <string>

#include "platform/service_slot.h"
#include "platform/files.h"
#include "platform/win32/owners.h"
#include "platform/win32/win32_api.h"
#include "text/cp1251.h"

namespace klt::platform {

namespace {

// Host path (CP1251, separators possibly doubled) to a wide path: runs of backslashes fold to one,
// except the leading pair of a network path.
std::wstring WidePath(const std::string& hostPath) {
    const std::u16string u = text::Cp1251ToUtf16(hostPath);
    std::wstring out;
    out.reserve(u.size());
    bool afterSeparator = false;
    if (u.size() >= 2 && u[0] == u'\\' && u[1] == u'\\') {
        out = L"\\\\";
        afterSeparator = true;
    }
    for (char16_t c : u) {
        const bool separator = c == u'\\';
        if (separator && afterSeparator) continue;
        afterSeparator = separator;
        out += static_cast<wchar_t>(c);
    }
    return out;
}

std::string HostText(const wchar_t* wide) {
    std::u16string u;
    for (; *wide; ++wide) u += static_cast<char16_t>(*wide);
    return text::Utf16ToCp1251(u);
}

class Win32File : public File {
  public:
    explicit Win32File(win32::KernelHandle handle) : handle_(std::move(handle)) {}

    bool Write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(handle_.Get(), p, chunk, &written, nullptr) || written == 0) return false;
            p += written;
            size -= written;
        }
        return true;
    }
    std::int64_t Read(void* data, std::size_t size) override {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD got = 0;
        if (!ReadFile(handle_.Get(), data, chunk, &got, nullptr)) return -1;
        return got;
    }

  private:
    win32::KernelHandle handle_;
};

class Win32FileSystem : public FileSystem {
  public:
    // Readers share with readers only, and a writer lets others read: a file being written cannot
    // be opened for reading or writing by anyone else, as the print spool relies on.
    std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override {
        DWORD access = GENERIC_READ, disposition = OPEN_EXISTING;
        if (mode == OpenMode::Create) {
            access = GENERIC_WRITE;
            disposition = CREATE_ALWAYS;
        } else if (mode == OpenMode::Append) {
            access = FILE_APPEND_DATA;
            disposition = OPEN_ALWAYS;
        }
        win32::KernelHandle h(
            win32::NullIfInvalid(CreateFileW(WidePath(path).c_str(), access, FILE_SHARE_READ, nullptr,
                                             disposition, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (!h) return nullptr;
        return std::make_unique<Win32File>(std::move(h));
    }

    std::vector<std::string> List(const std::string& directory, const std::string& pattern,
                                  std::size_t limit) override {
        std::vector<std::string> names;
        std::wstring search = WidePath(directory);
        if (search.empty()) search = L".";
        if (search.back() != L'\\' && search.back() != L'/') search += L'\\';
        search += L'*';
        WIN32_FIND_DATAW found{};
        const win32::FindHandle finder(win32::NullIfInvalid(FindFirstFileW(search.c_str(), &found)));
        if (!finder) return names;
        // Matched here rather than by the search itself, which also matches the short 8.3 names.
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            std::string name = HostText(found.cFileName);
            if (WildcardMatch(pattern, name)) names.push_back(std::move(name));
        } while (names.size() < limit && FindNextFileW(finder.Get(), &found));
        return names;
    }

    bool Exists(const std::string& path) override {
        return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool IsDirectory(const std::string& path) override {
        const DWORD a = GetFileAttributesW(WidePath(path).c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool Remove(const std::string& path) override { return DeleteFileW(WidePath(path).c_str()) != FALSE; }
    bool Move(const std::string& from, const std::string& to) override {
        return MoveFileW(WidePath(from).c_str(), WidePath(to).c_str()) != FALSE;
    }
    bool Copy(const std::string& from, const std::string& to, bool overwrite) override {
        return CopyFileW(WidePath(from).c_str(), WidePath(to).c_str(), overwrite ? FALSE : TRUE) != FALSE;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        // Write-through: the move returns only when the new file is on the disk under its name.
        return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    bool MakeDirectory(const std::string& path) override {
        return CreateDirectoryW(WidePath(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    }
    std::string CurrentDirectory() override {
        const DWORD size = GetCurrentDirectoryW(0, nullptr);
        if (size == 0) return {};
        std::wstring buffer(size, L'\0');
        if (GetCurrentDirectoryW(size, buffer.data()) == 0) return {};
        return HostText(buffer.c_str());
    }
};

}  // namespace

FileSystem& Files() {
    return *ServiceSlot<FileSystem, Win32FileSystem>();
}

FileSystem* ReplaceFiles(FileSystem* files) {
    return ReplaceService<FileSystem, Win32FileSystem>(files);
}

}  // namespace klt::platform
