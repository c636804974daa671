#include "core/files/files.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/text/cp1251.h"
#include "core/text/printable.h"
#include "core/text/wildcard.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>
#include <thread>

namespace gamarium::files {
namespace fs = std::filesystem;

namespace {

std::string utf8Of(const Path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

Path fromUtf8Text(const std::string& utf8) {
    return Path(std::u8string(utf8.begin(), utf8.end()));
}

std::string describe(const Path& path) {
    return "«" + shownPath(path) + "»";
}

constexpr std::string_view kTemporaryMark = ".gamarium-tmp-";
constexpr std::size_t kTemporaryDigits = 6;

} // namespace

Path toPath(const text::StoredText& text) {
    std::string utf8 = text::toUtf8(text);
    for (char& c : utf8)
        if (c == '\\') c = '/';
    return fromUtf8Text(utf8);
}

Path withSlashes(const Path& typed) {
    Path::string_type native = typed.native();
    std::replace(native.begin(), native.end(), Path::value_type('\\'), Path::value_type('/'));
    return native;
}

text::StoredText nameText(const Path& path) {
    return text::fromUtf8(utf8Of(path.filename()));
}

std::string shownPath(const Path& path) {
    return text::printable(utf8Of(path), std::string::npos);
}

Path findNoCase(const Path& folder, const text::StoredText& name) {
    const Path exact = folder / toPath(name);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(exact, ec)) || name.empty()) return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (text::equalNoCase(nameText(it->path()), name)) return it->path();
    }
    return exact;
}

std::vector<Entry> listFolder(const Path& folder, std::string_view pattern) {
    std::vector<Entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        text::StoredText name = nameText(it->path());
        if (!text::matchesWildcard(pattern, name.bytes())) continue;
        std::error_code typeError;
        entries.push_back({std::move(name), it->is_directory(typeError)});
    }
    return entries;
}

bool fileExists(const Path& path) {
    std::error_code ec;
    return fs::exists(path, ec) && !fs::is_directory(path, ec);
}

void makeFolder(const Path& path) {
    std::error_code ec;
    fs::create_directory(path, ec);
}

void removeFile(const Path& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

std::string readFile(const Path& path, std::size_t limit) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) throw Error(describe(path) + " — это папка, а не файл.");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error("Не удаётся открыть файл " + describe(path) + ".");
    std::string bytes;
    std::array<char, 65536> chunk;
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        const auto count = static_cast<std::size_t>(in.gcount());
        if (bytes.size() + count > limit)
            throw Error("Файл " + describe(path) + " слишком велик (больше " + std::to_string(limit >> 20) + " МБ).");
        bytes.append(chunk.data(), count);
    }
    if (in.bad()) throw Error("Ошибка чтения файла " + describe(path) + ".");
    return bytes;
}

void writeFileReplacing(const Path& path, std::string_view bytes) {
    const Path temporary = temporaryFor(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw Error("Не удаётся записать файл " + describe(path) + ".");
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            removeFile(temporary);
            throw Error("Ошибка записи файла " + describe(path) + " (нет места на диске?).");
        }
    }
    keepModeAndOwner(path, temporary);
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        removeFile(temporary);
        throw Error("Не удаётся записать файл " + describe(path) + ": нет доступа к папке или файл занят.");
    }
}

Path temporaryFor(const Path& path) {
    static constexpr char kDigits[] = "0123456789abcdef";
    // Seeded once per thread: a random device costs more than the write of
    // a small page.
    thread_local std::mt19937 random(std::random_device{}() ^
                                     static_cast<unsigned>(std::hash<std::thread::id>{}(std::this_thread::get_id())));
    std::string name(kTemporaryMark);
    for (std::size_t i = 0; i < kTemporaryDigits; ++i) name += kDigits[random() % 16];
    Path temporary = path;
    temporary += name;
    return temporary;
}

bool isTemporaryName(std::string_view name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string_view::npos || mark == 0) return false;
    const std::string_view digits = name.substr(mark + kTemporaryMark.size());
    return digits.size() == kTemporaryDigits &&
           digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::vector<Path> leftoverTemporaries(const Path& folder, std::string_view ofName) {
    std::vector<Path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || it->is_symlink(typeError)) continue;
        const std::string name = nameText(it->path()).bytes();
        if (!isTemporaryName(name)) continue;
        if (!ofName.empty() && name.compare(0, name.rfind(kTemporaryMark), ofName) != 0) continue;
        found.push_back(it->path());
    }
    return found;
}

void removeTemporaries(const Path& folder) {
    for (const Path& leftover : leftoverTemporaries(folder)) removeFile(leftover);
}

} // namespace gamarium::files
