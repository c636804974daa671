#include "paradox/file_bytes.h"

#include "error.h"

#include <filesystem>

namespace gamarium::paradox {

FileBytes::FileBytes(const files::Path& file) : in_(file, std::ios::binary) {
    std::error_code ec;
    size_ = std::filesystem::file_size(file, ec);
    if (!in_ || ec) {
        const auto name = file.filename().u8string();
        throw Error("Не удаётся открыть файл «" + std::string(name.begin(), name.end()) + "».");
    }
}

bool FileBytes::read(std::uint64_t offset, std::size_t count, std::string& out) {
    out.clear();
    if (offset > size_ || count > size_ - offset) return false;
    out.resize(count);
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(out.data(), static_cast<std::streamsize>(count));
    if (in_.gcount() != static_cast<std::streamsize>(count)) {
        out.clear();
        return false;
    }
    return true;
}

} // namespace gamarium::paradox
