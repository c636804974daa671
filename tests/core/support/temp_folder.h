#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace gamarium::testing {

// A folder of its own for one test, removed afterwards.
class TempFolder {
public:
    TempFolder() : path_(std::filesystem::temp_directory_path() / ("gamarium-test-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace gamarium::testing
