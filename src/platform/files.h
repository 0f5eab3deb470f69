#pragma once
// Files as the system names them: host paths in CP1251 with backslashes, built by appending to
// IBDirectory (whose separators are doubled). The backend turns a host path into a native one at
// this edge: on POSIX backslashes become '/', repeated separators fold and the text becomes UTF-8;
// on Windows the wide API is used so paths work whatever the system code page.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace klt::platform {

class File {
  public:
    virtual ~File() = default;
    // All of `size` bytes, or false.
    virtual bool Write(const void* data, std::size_t size) = 0;
    // Bytes read into `data`; 0 at the end; -1 on error.
    virtual std::int64_t Read(void* data, std::size_t size) = 0;
};

enum class OpenMode {
    Read,    // existing file, reading
    Create,  // create or truncate, writing
    Append,  // create if missing, writing at the end
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Null when the file cannot be opened.
    virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode) = 0;
    // Names (not paths) of the plain files in `directory` matching a wildcard pattern (`*`, `?`,
    // letters compared without regard to case as the Windows file system does), at most `limit`
    // of them, in no particular order. A missing directory gives none.
    virtual std::vector<std::string> List(const std::string& directory, const std::string& pattern,
                                          std::size_t limit) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Fails when the target exists, as MoveFile does.
    virtual bool Move(const std::string& from, const std::string& to) = 0;
    virtual bool Copy(const std::string& from, const std::string& to, bool overwrite) = 0;
    // Puts `from` in the place of `to` in one step, replacing `to` when it exists: anyone opening
    // `to` finds the old file or the new one whole, never a part of either.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool MakeDirectory(const std::string& path) = 0;
    // The process's current directory as a host path (CP1251, the system's own separators).
    virtual std::string CurrentDirectory() = 0;

    // Reads a whole file, at most `limit` bytes; false when it cannot be opened or read.
    bool ReadAll(const std::string& path, std::string& bytes, std::size_t limit);
    // Creates or truncates a file with exactly these bytes.
    bool WriteAll(const std::string& path, const std::string& bytes);
    // Writes the bytes beside `path` and puts them in its place only once all are written: a full
    // disk or a crash leaves the old file as it was, never a truncated one.
    bool WriteAllReplacing(const std::string& path, const std::string& bytes);
};

// Matches a name against a wildcard pattern as the file system's search does.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// The file system in force; tests may swap it.
FileSystem& Files();
FileSystem* ReplaceFiles(FileSystem* files);

}  // namespace klt::platform
