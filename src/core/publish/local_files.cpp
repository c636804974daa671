#include "core/publish/local_files.h"

#include "core/error.h"
#include "core/files/content_hash.h"

#include <algorithm>
#include <system_error>

namespace gamarium::publish {
namespace fs = std::filesystem;

namespace {

// How far a file's times must lie behind the start of a listing for its
// key to be trusted next time: more than a clock tick, FAT's two-second
// times and a network file system's clock a little off.
constexpr std::int64_t kSettleNs = 3'000'000'000;

bool holdsControlCharacter(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

} // namespace

std::vector<LocalFile> listLocalFiles(const files::Path& folder, const KnownHashes& known) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) throw Error("Папка «" + folder.string() + "» не найдена.");
    const std::int64_t cutoff = nowNs() - kSettleNs;
    std::vector<LocalFile> found;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec);
    if (ec) throw Error("Не удаётся прочитать папку «" + folder.string() + "».");
    for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
        if (ec) throw Error("Не удаётся прочитать папку «" + folder.string() + "»: " + ec.message() + ".");
        if (files::isTemporaryName(it->path().filename().string())) continue;
        const std::optional<FileKey> key = regularFileKey(it->path());
        if (!key) continue;
        LocalFile file;
        file.path = it->path().lexically_relative(folder).generic_string();
        if (holdsControlCharacter(file.path))
            throw Error("Имя файла «" + file.path + "» содержит управляющий символ: такой файл не отправляется.");
        file.size = key->size;
        const auto earlier = known.find(file.path);
        file.hash = earlier != known.end() && earlier->second.key == *key ? earlier->second.hash
                                                                          : files::hashOfFile(it->path());
        if (key->settledBefore(cutoff)) file.trustedKey = key;
        found.push_back(std::move(file));
    }
    std::sort(found.begin(), found.end(), [](const LocalFile& a, const LocalFile& b) { return a.path < b.path; });
    return found;
}

} // namespace gamarium::publish
