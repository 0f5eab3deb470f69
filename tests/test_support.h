#pragma once
// A private platform for one test: virtual time, recorded hooks and fake windows, and a fresh
// add-in state. Everything is put back when the fixture ends.
#include <gtest/gtest.h>

#include "assembly/assembly.h"
#include "core/addin.h"
#include "core/state.h"
#include "emulator/emulated_host.h"
#include "platform/diagnostics.h"
#include "platform/headless.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace klt::test {

using namespace klt::text::literals;

inline std::string Cp(std::string_view cp1251) {
    return std::string(cp1251);
}

// Puts a stand-in for one platform service in force through that service's replace function, and
// the previous one back when it goes.
template <typename Service>
class Swap {
  public:
    Swap(Service* (*replace)(Service*), Service* standIn) : replace_(replace), previous_(replace(standIn)) {}
    ~Swap() { replace_(previous_); }
    Swap(const Swap&) = delete;
    Swap& operator=(const Swap&) = delete;

  private:
    Service* (*replace_)(Service*);
    Service* previous_;
};

// The add-in's diagnostics, kept line by line (put in force with a Swap of ReplaceDiagnostics).
class RecordingSink : public platform::DiagnosticsSink {
  public:
    void Write(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

// The process state is put back to its load-time values when the platform goes, while the hooks
// and timers it may still hold can be released through this platform's services.
class TestPlatform {
  public:
    TestPlatform() : loop(clock, &clock) {
        assembly::ResetProcessState();
        previous_ = platform::Replace({&clock, &loop, &hooks, &desktop, &patcher});
    }
    ~TestPlatform() {
        assembly::ResetProcessState();
        platform::Replace(previous_);
    }
    // Network tests wait for real datagrams: they keep the recorded hooks and fake windows but
    // take the build's own clock and loop.
    void UseRealTime() {
        platform::Get().clock = previous_.clock;
        platform::Get().loop = previous_.loop;
    }
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    platform::VirtualClock clock;
    platform::NativeLoop loop;
    platform::NativeHooks hooks;
    platform::NativeDesktop desktop;
    platform::NativeHostPatcher patcher;

  private:
    platform::Services previous_;
};

// An emulated host with the add-in started in it for the given rights set.
class AddInFixture : public ::testing::Test {
  protected:
    void Start(const std::string& rights, std::map<std::string, host::Value> constants = {},
               std::string ib = "C:\\Base\\") {
        emu::HostSettings s;
        s.rightsSetName = rights;
        s.constants = std::move(constants);
        s.ibDirectory = std::move(ib);
        host_ = std::make_unique<emu::EmulatedHost>(std::move(s));
        assembly::Init(host_.get(), host_.get());
    }
    void TearDown() override { assembly::Done(); }
    emu::EmulatedHost& host() { return *host_; }

    std::unique_ptr<emu::EmulatedHost> host_;
    TestPlatform platform_;  // after the host: the state is reset while the host still exists
};

}  // namespace klt::test
