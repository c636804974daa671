#include "paradox/file_bytes.h"

#include "error.h"
#include "text/cp1251.h"

#include <filesystem>

namespace gamarium::paradox {

FileBytes::FileBytes(const files::Path& file) : in_(file, std::ios::binary) {
    std::error_code ec;
    size_ = std::filesystem::file_size(file, ec);
    if (!in_ || ec) throw Error("Не удаётся открыть файл «" + text::toUtf8(files::nameText(file)) + "».");
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
