#include "core/paradox/file_bytes.h"

#include "core/error.h"
#include "core/text/cp1251.h"

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

std::optional<std::string> headOf(const files::Path& file, std::size_t count) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
    try {
        FileBytes bytes(file);
        std::string head;
        if (bytes.read(0, count, head)) return head;
    } catch (const Error&) {
    }
    return std::nullopt;
}

} // namespace gamarium::paradox
