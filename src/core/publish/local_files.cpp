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

bool isVersionControl(std::string_view name) {
    return name == ".git" || name == ".svn" || name == ".hg";
}

// Whether `path` is `folder` or lies below it, both canonical.
bool within(const fs::path& path, const fs::path& folder) {
    auto part = path.begin();
    for (const fs::path& folderPart : folder) {
        if (part == path.end() || *part != folderPart) return false;
        ++part;
    }
    return true;
}

class Walk {
public:
    Walk(const files::Path& folder, const KnownHashes& known)
        : known_(known), root_(fs::canonical(folder)), cutoff_(nowNs() - kSettleNs) {}

    LocalFolder run(const files::Path& folder) {
        enter(folder, {});
        std::sort(found_.files.begin(), found_.files.end(),
                  [](const LocalFile& a, const LocalFile& b) { return a.path < b.path; });
        std::sort(found_.skipped.begin(), found_.skipped.end());
        return std::move(found_);
    }

private:
    // `at` reaches the folder (maybe through links), `relative` names it below the root.
    void enter(const fs::path& at, const fs::path& relative) {
        std::error_code ec;
        walked_.push_back(fs::canonical(at, ec));
        fs::directory_iterator it(at, ec);
        for (const fs::directory_iterator end; ec || it != end; it.increment(ec)) {
            if (ec) throw Error("Не удаётся прочитать папку «" + files::shownPath(at) + "»: " + ec.message() + ".");
            const std::string name = it->path().filename().string();
            if (files::isTemporaryName(name) || isVersionControl(name)) continue;
            const fs::path path = relative / name;
            if (holdsControlCharacter(name)) {
                skip(path, "в имени есть управляющий символ, такое имя серверу не передать");
                continue;
            }
            if (it->is_symlink(ec)) {
                const fs::path target = fs::canonical(it->path(), ec);
                if (ec) continue;  // it leads nowhere: nothing to send
                if (const std::string why = linkRefusal(target); !why.empty()) {
                    skip(path, why);
                    continue;
                }
            }
            if (it->is_directory(ec))
                enter(it->path(), path);
            else
                add(it->path(), path.generic_string());
        }
        walked_.pop_back();
    }

    // Why a link to `target` is not followed; empty when it is.
    std::string linkRefusal(const fs::path& target) const {
        if (!within(target, root_)) return "ссылка ведёт за пределы папки";
        for (const fs::path& part : target.lexically_relative(root_))
            if (isVersionControl(part.string())) return "ссылка ведёт в папку " + part.string();
        for (const fs::path& folder : walked_)
            if (within(folder, target)) return "ссылка ведёт в папку, в которой лежит сама";
        return {};
    }

    void add(const fs::path& at, const std::string& path) {
        const std::optional<FileKey> key = regularFileKey(at);
        if (!key) return;
        LocalFile file;
        file.path = path;
        file.size = key->size;
        const auto earlier = known_.find(path);
        file.hash = earlier != known_.end() && earlier->second.key == *key ? earlier->second.hash : files::hashOfFile(at);
        if (key->settledBefore(cutoff_)) file.trustedKey = key;
        found_.files.push_back(std::move(file));
    }

    void skip(const fs::path& path, const std::string& why) {
        found_.skipped.push_back(files::shownPath(path) + ": " + why);
    }

    const KnownHashes& known_;
    const fs::path root_;
    const std::int64_t cutoff_;
    std::vector<fs::path> walked_;  // the folders being walked, canonical
    LocalFolder found_;
};

} // namespace

LocalFolder listLocalFiles(const files::Path& folder, const KnownHashes& known) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) throw Error("Папка «" + files::shownPath(folder) + "» не найдена.");
    return Walk(folder, known).run(folder);
}

void refuseForeignFolder(const files::Path& folder, const files::Path& home) {
    const auto resolved = [](const files::Path& path) {
        std::error_code ec;
        const fs::path canonical = fs::weakly_canonical(fs::absolute(path), ec);
        return ec ? fs::absolute(path).lexically_normal() : canonical;
    };
    const fs::path site = resolved(folder), program = resolved(home);
    if (site == site.root_path())
        throw Error("Папка «" + files::shownPath(folder) + "» — корень системы; публикуют папку сайта.");
    if (within(program, site))
        throw Error("Папка «" + files::shownPath(folder) + "» содержит папку программы «" + files::shownPath(program) +
                    "» с базами и записями: публикуют папку сайта.");
}

} // namespace gamarium::publish
