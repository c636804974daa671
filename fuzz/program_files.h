#pragma once

// What the targets over the program's own files (restore points, the
// record of sent files, the page record and the caches) share with the
// program that writes their seeds, record_seeds: a seed is a file the
// program made for this base, folder and address, so that the target reads
// it as its own.
#include "core/files/files.h"
#include "core/files/system.h"
#include "core/pages/kept_table.h"
#include "core/publish/site_address.h"
#include "core/store/catalogue.h"
#include "core/store/sqlite.h"
#include "core/store/table.h"
#include "core/text/stored_text.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace gamarium::fuzz {

constexpr std::string_view kBase = "games";

// The folder a site is made in and published from; only its path is
// recorded, so it need not exist.
inline const files::Path& siteFolder() {
    static const files::Path path = "/gamarium-fuzz/site";
    return path;
}

inline publish::SiteAddress siteAddress() {
    publish::SiteAddress address;
    address.user = "me";
    address.host = "example.org";
    address.port = 22;
    address.path = "/www";
    address.shown = "sftp://me@example.org:22/www";
    return address;
}

// Pictures as the size cache keeps them: by path below images/<base>/,
// each with the stamp its file had.
constexpr const char* kPictures[] = {"alpha/alpha.png", "beta/beta 1.jpg", "gamma/gamma.gif"};
constexpr files::FileStamp kPictureStamp{.size = 20480, .changed = 1'700'000'000'123'456'789, .identity = 4242};

// The base kBase with three games and two patches, its tables open and
// their files a minute old, so that what is worked out from them is kept
// (pages::KeptTable).
class KeptBase {
public:
    explicit KeptBase(const files::Path& home) : home_(made(home)) {
        games.open();
        patches.open();
        for (store::Table* table : {&games, &patches})
            std::filesystem::last_write_time(table->database().file(),
                                             std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1));
    }

    files::Path home_;
    store::Table games{home_ / "base", store::gameTableName(kBase)};
    store::Table patches{home_ / "base", store::patchTableName(kBase)};

private:
    static files::Path made(const files::Path& home) {
        std::filesystem::create_directories(home);
        store::prepareFolders(home);
        store::createBase(home, kBase, true);
        store::Table games(home / "base", store::gameTableName(kBase)), patches(home / "base", store::patchTableName(kBase));
        games.open();
        patches.open();
        const auto put = [](store::Table& table, std::initializer_list<std::pair<std::string_view, std::string_view>> fields) {
            table.append();
            for (const auto& [name, value] : fields) table.fieldByName(name).setAsString(text::StoredText::fromCp1251(std::string(value)));
            table.post();
        };
        put(games, {{"N", "1"}, {"Name", "Alpha Strike"}, {"Sid", "alpha"}, {"Image1", "alpha.png"}, {"Patch", "1"}, {"Rating", "75"}});
        put(games, {{"N", "2"}, {"Name", "Beta"}, {"Sid", "beta"}, {"Analog", "Alpha Strike"}});
        put(games, {{"N", "3"}, {"Name", "\xC3\xE0\xEC\xEC\xE0"}, {"Sid", "gamma"}, {"Patch", "2"}});
        put(patches, {{"N", "1"}, {"Patch", "alpha.zip"}, {"Text", "\xD0\xF3\xF1\xF1\xEA\xE8\xE9"}});
        put(patches, {{"N", "2"}, {"Patch", "gamma.zip"}, {"Text", "English"}});
        return home;
    }
};

// The length of a kept file's header (pages::KeptTable): everything
// before the bytes kept, the checksum of those last.
inline std::size_t keptHeaderSize(std::string_view file) {
    pages::KeptReader header(file);
    header.bytes(4);
    header.text();
    for (int i = 0; i < 5; ++i) header.number<std::uint64_t>();
    return file.size() - header.rest().size();
}

} // namespace gamarium::fuzz
