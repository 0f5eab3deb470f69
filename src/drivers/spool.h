#pragma once
// A printer's spool file: a print job is collected on disk ("KLT", the model's header, then the
// commands in call order) and either played to the printer port byte by byte or moved, under a
// name from the UTC clock, into a folder the configuration names.
#include <memory>
#include <string>
#include <string_view>

#include "drivers/serial_channel.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace klt::drivers {

inline constexpr std::string_view kSpoolMarker = "KLT";

// The spool path of printer objects created now: the current directory and "buffer.txt".
std::string SpoolPathInCurrentDirectory();
// "z%d%d%d.%d" from hour, minute, second and millisecond, the last raised by `step`. The fields
// have no leading zeros, so different times can give one name (01:23:45 and 12:03:45): a move
// that finds its name taken tries the steps 1, 2, ... in turn, up to kMovedJobNameTries names.
std::string MovedJobName(const platform::DateTime& utc, int step = 0);
inline constexpr int kMovedJobNameTries = 100;

class PrintSpool {
  public:
    PrintSpool() = default;
    explicit PrintSpool(std::string path) : path_(std::move(path)) {}
    // An open job is closed; its file stays on disk.
    ~PrintSpool();
    PrintSpool(const PrintSpool&) = delete;
    PrintSpool& operator=(const PrintSpool&) = delete;

    const std::string& path() const { return path_; }
    // Takes effect only while no job is open: an open job keeps the file it was started in.
    void SetPath(std::string path);
    bool JobOpen() const { return file_ != nullptr; }

    // Creates the spool file anew and writes the marker and header, one write per piece. False
    // when any job of the process holds the file already, or it cannot be created or written.
    bool Start(std::initializer_list<std::string_view> pieces);
    // One write of a command; lost when no job is open. A failed write spoils the job.
    void Append(std::string_view bytes);
    // Plays the job after its marker, one byte per write, then deletes the file. False, with the
    // file kept, when it cannot be opened, is held by another job, the job was spoilt, the channel
    // is closed or a write fails.
    bool Play(SerialChannel& channel);
    // Moves the file into `folder` under its UTC name, or the first free name after it; a job
    // already there is never replaced. False, with the file kept, when the move fails (no free
    // name, no such folder, no file) or the job was spoilt.
    bool MoveTo(const std::string& folder);
    // Closes an open job, file kept, and forgets that the last one was spoilt.
    void Discard() {
        CloseJob();
        spoilt_ = false;
    }

  private:
    void CloseJob();

    std::string path_;
    std::unique_ptr<platform::File> file_;
    bool spoilt_ = false;
};

}  // namespace klt::drivers
