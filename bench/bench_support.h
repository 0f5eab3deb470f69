#pragma once
// A scratch information base for a benchmark: a fresh temporary folder with the orders' parent
// folder, removed with everything in it when it goes.
#include <filesystem>
#include <random>
#include <string>

#include "platform/files.h"
#include "text/literal.h"

namespace klt::bench {

class ScratchBase {
  public:
    explicit ScratchBase(const std::string& prefix)
        : root_(std::filesystem::temp_directory_path() / (prefix + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(root_);
        ib_ = root_.string() + "\\";  // a host path: the file layer turns it into a native one
        using namespace klt::text::literals;
        platform::Files().MakeDirectory(ib_ + std::string("ДАННЫЕ"_cp));
    }
    ~ScratchBase() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchBase(const ScratchBase&) = delete;
    ScratchBase& operator=(const ScratchBase&) = delete;

    const std::string& ib() const { return ib_; }

  private:
    std::filesystem::path root_;
    std::string ib_;
};

}  // namespace klt::bench
