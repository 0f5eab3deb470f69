#include "drivers/spool.h"

#include <set>

#include "text/format.h"

namespace klt::drivers {

namespace {

// Spool files that a job of this process holds open for writing. The file is opened without
// sharing, so a second job on the same path (two printers created in one directory) must not
// truncate it, and playing or moving it from another object must wait until it is closed.
// Never destroyed: the process-wide Nippon job may still release its path while statics go.
std::set<std::string>& HeldPaths() {
    static auto* paths = new std::set<std::string>;
    return *paths;
}

}  // namespace

std::string SpoolPathInCurrentDirectory() {
    std::string dir = platform::Files().CurrentDirectory();
    return dir + (!dir.empty() && dir.back() == '\\' ? "buffer.txt" : "\\buffer.txt");
}

std::string MovedJobName(const platform::DateTime& utc, int step) {
    return text::Format("z%d%d%d.%d", utc.hour, utc.minute, utc.second, utc.millisecond + step);
}

PrintSpool::~PrintSpool() {
    CloseJob();
}

void PrintSpool::SetPath(std::string path) {
    if (!JobOpen()) path_ = std::move(path);
}

void PrintSpool::CloseJob() {
    if (!file_) return;
    file_.reset();
    HeldPaths().erase(path_);
}

bool PrintSpool::Start(std::initializer_list<std::string_view> pieces) {
    if (HeldPaths().count(path_)) return false;  // our own open job included: it stays as it is
    file_ = platform::Files().Open(path_, platform::OpenMode::Create);
    if (!file_) return false;
    HeldPaths().insert(path_);
    spoilt_ = false;
    for (std::string_view piece : pieces) {
        if (!file_->Write(piece.data(), piece.size())) {
            CloseJob();
            platform::Files().Remove(path_);
            return false;
        }
    }
    return true;
}

void PrintSpool::Append(std::string_view bytes) {
    if (!file_) return;
    if (!file_->Write(bytes.data(), bytes.size())) spoilt_ = true;
}

bool PrintSpool::Play(SerialChannel& channel) {
    CloseJob();
    if (HeldPaths().count(path_) || spoilt_) return false;
    std::unique_ptr<platform::File> in = platform::Files().Open(path_, platform::OpenMode::Read);
    if (!in) return false;
    // A closed port would swallow the job: keep it for the next attempt.
    if (!channel.IsOpen()) return false;
    char buffer[4096];
    std::size_t skip = kSpoolMarker.size();
    for (;;) {
        std::int64_t got = in->Read(buffer, sizeof buffer);
        if (got < 0) return false;
        if (got == 0) break;
        for (std::int64_t i = 0; i < got; ++i) {
            if (skip > 0) {
                --skip;
                continue;
            }
            if (!channel.Write(&buffer[i], 1)) return false;
        }
    }
    in.reset();
    // The job is printed; a file that cannot be deleted is replaced by the next job.
    platform::Files().Remove(path_);
    return true;
}

bool PrintSpool::MoveTo(const std::string& folder) {
    CloseJob();
    platform::FileSystem& files = platform::Files();
    if (HeldPaths().count(path_) || spoilt_ || !files.Exists(path_)) return false;
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
    const platform::DateTime now = platform::Get().clock->UtcNow();
    for (int step = 0; step < kMovedJobNameTries; ++step) {
        const std::string target = prefix + MovedJobName(now, step);
        // The move never replaces: a taken name fails it and the next one is tried.
        if (files.Move(path_, target)) return true;
        if (!files.Exists(target)) return false;  // no such folder: no other name helps
    }
    return false;
}

}  // namespace klt::drivers
