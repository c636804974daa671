#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace gamarium::fuzz {

// A folder of this process's own for the readers that take files: made at
// the first input, removed when the fuzzer ends.
inline const std::filesystem::path& folder() {
    struct Folder {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("gamarium-fuzz-" + std::to_string(::getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder made;
    return made.path;
}

inline void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace gamarium::fuzz
