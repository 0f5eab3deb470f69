#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/service_slot.h"
#include "platform/files.h"
#include "text/cp1251.h"

namespace klt::platform {

// Host path (CP1251, backslashes, possibly doubled) to a native UTF-8 path.
std::string NativePath(const std::string& hostPath) {
    std::string out;
    for (char c : text::Cp1251ToUtf8(hostPath)) {
        char d = c == '\\' ? '/' : c;
        if (d == '/' && !out.empty() && out.back() == '/') continue;
        out += d;
    }
    return out;
}

namespace {

class PosixFile : public File {
  public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }
    bool Write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            ssize_t n = ::write(fd_, p, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }
    std::int64_t Read(void* data, std::size_t size) override {
        for (;;) {
            ssize_t n = ::read(fd_, data, size);
            if (n < 0 && errno == EINTR) continue;
            return n;
        }
    }

  private:
    int fd_;
};

class PosixFileSystem : public FileSystem {
  public:
    std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override {
        int flags = mode == OpenMode::Read     ? O_RDONLY
                    : mode == OpenMode::Create ? O_WRONLY | O_CREAT | O_TRUNC
                                               : O_WRONLY | O_CREAT | O_APPEND;
        int fd = ::open(NativePath(path).c_str(), flags | O_CLOEXEC, 0644);
        if (fd < 0) return nullptr;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<PosixFile>(fd);
    }

    std::vector<std::string> List(const std::string& directory, const std::string& pattern,
                                  std::size_t limit) override {
        std::vector<std::string> names;
        std::string dir = NativePath(directory);
        DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
        if (!d) return names;
        while (names.size() < limit) {
            struct dirent* e = ::readdir(d);
            if (!e) break;
            std::string name = text::Utf8ToCp1251(e->d_name);
            if (!WildcardMatch(pattern, name)) continue;
            // The entry's own type where the file system gives it: a marker folder holds thousands of
            // names, and asking the kernel about each one costs more than the rest of the listing.
            // A link is followed, as Windows' search does, to what it points at.
            if (e->d_type != DT_REG) {
                if (e->d_type != DT_UNKNOWN && e->d_type != DT_LNK) continue;
                struct stat st {};
                if (::fstatat(::dirfd(d), e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
            }
            names.push_back(std::move(name));
        }
        ::closedir(d);
        return names;
    }

    bool Exists(const std::string& path) override {
        struct stat st {};
        return ::stat(NativePath(path).c_str(), &st) == 0;
    }
    bool IsDirectory(const std::string& path) override {
        struct stat st {};
        return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    bool Remove(const std::string& path) override { return ::unlink(NativePath(path).c_str()) == 0; }
    bool Move(const std::string& from, const std::string& to) override {
        std::string target = NativePath(to);
        // link + unlink refuses an existing target atomically, as MoveFile does.
        if (::link(NativePath(from).c_str(), target.c_str()) == 0)
            return ::unlink(NativePath(from).c_str()) == 0;
        if (errno != EXDEV && errno != EPERM) return false;
        // Another file system (or one without hard links): copy, then remove the source.
        if (!Copy(from, to, false)) return false;
        return ::unlink(NativePath(from).c_str()) == 0;
    }
    bool Copy(const std::string& from, const std::string& to, bool overwrite) override {
        if (!overwrite && Exists(to)) return false;
        std::string bytes;
        if (!ReadAll(from, bytes, SIZE_MAX)) return false;
        return WriteAll(to, bytes);
    }
    bool Replace(const std::string& from, const std::string& to) override {
        const std::string source = NativePath(from);
        // On the disk before it takes the old file's name, so a power cut cannot leave it empty.
        const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        const bool synced = ::fsync(fd) == 0;
        ::close(fd);
        return synced && ::rename(source.c_str(), NativePath(to).c_str()) == 0;
    }
    bool MakeDirectory(const std::string& path) override {
        return ::mkdir(NativePath(path).c_str(), 0755) == 0 || errno == EEXIST;
    }
    std::string CurrentDirectory() override {
        char buffer[4096];
        if (!::getcwd(buffer, sizeof buffer)) return {};
        return text::Utf8ToCp1251(buffer);
    }
};

}  // namespace

FileSystem& Files() {
    return *ServiceSlot<FileSystem, PosixFileSystem>();
}

FileSystem* ReplaceFiles(FileSystem* files) {
    return ReplaceService<FileSystem, PosixFileSystem>(files);
}

}  // namespace klt::platform
