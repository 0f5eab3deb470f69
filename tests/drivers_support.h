#pragma once
// What the driver suites share: an add-in whose current directory is a scratch folder of the test
// (so spool files are its own), fresh process-wide printer and display state before and after,
// method calls by name, recording serial ports, and golden files under tests/golden.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "drivers/nippon.h"
#include "drivers/tablo.h"
#include "platform/serial.h"
#include "test_support.h"

namespace klt::test {

inline std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    return s;
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<none>";
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A file of the tests folder, whose path the build gives: with ccache's base directory __FILE__
// would be relative to the build folder.
inline std::filesystem::path TestsPath(const std::string& name) {
    return std::filesystem::path(KLT_TESTS_DIR) / name;
}

// Compares with a golden file; KLT_UPDATE_GOLDEN=1 rewrites it instead (review the bytes then).
inline void ExpectGolden(const char* name, const std::string& bytes) {
    const std::filesystem::path golden = TestsPath(std::string("golden/") + name);
    if (const char* update = std::getenv("KLT_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream(golden, std::ios::binary) << bytes;
        return;
    }
    const std::string expected = ReadFile(golden);
    const auto diff = std::mismatch(bytes.begin(), bytes.end(), expected.begin(), expected.end());
    EXPECT_TRUE(bytes.size() == expected.size() && diff.first == bytes.end())
        << name << ": " << bytes.size() << " bytes, golden " << expected.size() << ", first difference at "
        << (diff.first - bytes.begin());
}

// Serial ports that record what is opened and written, with ports that are missing, ports that
// refuse their settings and writes that fail after a count.
class RecordingPorts : public platform::SerialPorts {
  public:
    struct Request {
        int number;
        platform::LineSettings settings;
        std::uint32_t timeoutMs;
    };

    RecordingPorts() : previous_(platform::ReplaceSerial(this)) {}
    ~RecordingPorts() override { platform::ReplaceSerial(previous_); }

    platform::SerialOpenResult Open(int number, const platform::LineSettings& settings,
                                    std::uint32_t timeoutMs) override {
        requests.push_back({number, settings, timeoutMs});
        platform::SerialOpenResult r;
        if (missing.count(number)) return r;
        r.status = platform::SerialOpenStatus::SetupFailed;
        if (refusing.count(number)) return r;
        r.port = std::make_unique<Port>(*this, number);
        r.status = platform::SerialOpenStatus::Opened;
        ++openPorts;
        return r;
    }

    std::string Received() const {
        std::string all;
        for (const auto& w : writes) all += w.second;
        return all;
    }

    std::vector<Request> requests;
    std::vector<std::pair<int, std::string>> writes;  // port number, bytes of one write
    std::set<int> missing, refusing;
    int writesBeforeFailure = -1;  // negative: writes never fail
    int failedWrites = 0;
    int openPorts = 0;

  private:
    class Port : public platform::SerialPort {
      public:
        Port(RecordingPorts& owner, int number) : owner_(owner), number_(number) {}
        ~Port() override { --owner_.openPorts; }
        bool Write(const void* data, std::size_t size) override {
            if (owner_.writesBeforeFailure == 0) {
                ++owner_.failedWrites;
                return false;
            }
            if (owner_.writesBeforeFailure > 0) --owner_.writesBeforeFailure;
            owner_.writes.emplace_back(number_, std::string(static_cast<const char*>(data), size));
            return true;
        }

      private:
        RecordingPorts& owner_;
        int number_;
    };
    platform::SerialPorts* previous_;
};

inline const std::string kAuraHeader = Bytes({0x1B, 0x40, 0x1B, 0x52, 0x00, 0x1B, 0x53, 0x1B, 0x74, 0x11});
inline const std::string kNipponHeader = Bytes({0x1B, 0x74, 0x00});

class DriversFixture : public AddInFixture {
  protected:
    void SetUp() override {
        std::random_device random;
        do {
            dir_ = std::filesystem::temp_directory_path() / ("klt-drivers-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(dir_));
        previousDir_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        Start("x");
    }
    void TearDown() override {
        objects_.clear();
        AddInFixture::TearDown();
        assembly::ResetProcessState();  // the Nippon job closes before its folder goes
        std::error_code ec;
        std::filesystem::current_path(previousDir_, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    host::Context& Make(const char* type) {
        objects_.push_back(host().CreateObject(type));
        return *objects_.back().GetContext();
    }
    bool Call(host::Context& o, std::string_view name, std::vector<host::Value> args = {}) {
        return host().CallMethod(o, std::string(name), std::move(args), nullptr);
    }
    int Answer(host::Context& o, std::string_view name, std::vector<host::Value> args = {}) {
        host::Value result;
        EXPECT_TRUE(host().CallMethod(o, std::string(name), std::move(args), &result)) << name;
        EXPECT_EQ(result.kind(), host::ValueKind::Number) << name;
        return result.GetInt32();
    }
    static host::Value N(std::int32_t n) { return host::Value(n); }
    static host::Value T(std::string_view s) { return host::Value(std::string(s)); }

    // Read beside the open job: the file layer itself refuses to read a file that is being written.
    std::string SpoolFile() const { return ReadFile(dir_ / "buffer.txt"); }
    bool SpoolExists() const { return std::filesystem::exists(dir_ / "buffer.txt"); }

    std::filesystem::path dir_, previousDir_;
    std::vector<host::Value> objects_;
};

}  // namespace klt::test
