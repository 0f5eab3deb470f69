// Playing a print job: every byte of the spool file goes to the port in a write of its own, so
// the cost per write decides whether the port keeps the line busy. A 64 KiB job into a
// pseudo-terminal, whose other end is drained by a thread; the figure to watch is bytes per second
// against 11 520 bytes per second, the line rate of 115200 baud.
#ifndef _WIN32
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "drivers/serial_channel.h"
#include "drivers/spool.h"
#include "platform/files.h"

using namespace klt;

namespace {

class DrainedPty {
  public:
    explicit DrainedPty(const std::string& link) : link_(link) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
        if (const char* name = ::ptsname(master_)) ok_ = ::symlink(name, link_.c_str()) == 0;
        drain_ = std::thread([this] {
            char buffer[65536];
            while (!stop_) {
                pollfd p{master_, POLLIN, 0};
                if (::poll(&p, 1, 20) > 0) {
                    ssize_t n = ::read(master_, buffer, sizeof buffer);
                    if (n > 0) received_ += static_cast<std::size_t>(n);
                }
            }
        });
    }
    ~DrainedPty() {
        stop_ = true;
        if (drain_.joinable()) drain_.join();
        if (master_ >= 0) ::close(master_);
        ::unlink(link_.c_str());
    }
    bool ok() const { return ok_; }
    std::size_t received() const { return received_; }

  private:
    std::string link_;
    int master_ = -1;
    bool ok_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> received_{0};
    std::thread drain_;
};

void BM_PlayJobIntoPty(benchmark::State& state) {
    namespace fs = std::filesystem;
    char tmpl[] = "/tmp/klt-bench-XXXXXX";
    if (!::mkdtemp(tmpl)) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string dir = tmpl;
    ::setenv("KLT_SERIAL_DIR", dir.c_str(), 1);
    {
        DrainedPty pty(dir + "/COM5");
        drivers::SerialChannel channel;
        platform::LineSettings line;
        line.baudRate = 115200;
        line.abortOnError = true;
        if (!pty.ok() || !channel.Open(5, 2000, line)) {
            state.SkipWithError("no pseudo-terminal");
            return;
        }
        const std::size_t size = static_cast<std::size_t>(state.range(0));
        std::string job = "KLT";
        for (std::size_t i = 0; i < size; ++i) job += static_cast<char>(i * 7);
        drivers::PrintSpool spool(dir + "/buffer.txt");
        for (auto _ : state) {
            state.PauseTiming();
            platform::Files().WriteAll(spool.path(), job);
            state.ResumeTiming();
            if (!spool.Play(channel)) {
                state.SkipWithError("play failed");
                break;
            }
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
        channel.Close();
    }
    ::unsetenv("KLT_SERIAL_DIR");
    std::error_code ec;
    fs::remove_all(dir, ec);
}

}  // namespace

BENCHMARK(BM_PlayJobIntoPty)->Arg(64 * 1024)->Unit(benchmark::kMillisecond)->UseRealTime();
#endif
