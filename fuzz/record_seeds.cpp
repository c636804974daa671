// Writes seed inputs for the targets over the program's own files into the
// folder given, one folder per target: files the program makes, as each
// target takes them. Restore points taken of a base, the picture journal of
// a command, a record of sent files, a page record, a picture size cache
// and the tables kept for the page generator.
#include "fuzz_folder.h"
#include "program_files.h"

#include "core/history/picture_journal.h"
#include "core/history/point_store.h"
#include "core/pages/cache_file.h"
#include "core/pages/game_digests.h"
#include "core/pages/kept_patches.h"
#include "core/pages/page_record.h"
#include "core/pages/picture_size_cache.h"
#include "core/publish/sent_record.h"

#include <cstdio>

namespace {

namespace fs = std::filesystem;
using namespace gamarium;

void writeSeed(const fs::path& seeds, const std::string& target, const std::string& name, std::string_view bytes) {
    fuzz::writeFile(seeds / target / name, bytes);
}

void pointSeeds(const fs::path& seeds, fuzz::KeptBase& base) {
    std::int64_t now = 1'700'000'000;
    history::PointStore points(base.home_, std::string(fuzz::kBase), [&] { return now += 86'400; });
    points.take("Перенумерация", {&base.games.database()}, {&base.patches.database()});
    points.take("Слияние со списком «игры.txt»", {&base.games.database()}, {});
    points.take("Очистка базы", {}, {nullptr, true});
    std::string all;
    for (const history::Point& point : points.points()) {
        const std::string text = files::readFile(point.folder / "point.txt");
        writeSeed(seeds, "point", std::to_string(point.id), text);
        all += text + '\0';
    }
    writeSeed(seeds, "point", "all", all);
}

void journalSeed(const fs::path& seeds, const files::Path& home) {
    const files::Path pictures = home / "images" / std::string(fuzz::kBase), outside = fuzz::folder() / "outside";
    fuzz::writeFile(pictures / "alpha" / "alpha.png", "png bytes");
    fuzz::writeFile(outside / "tab\there.png", "other bytes");
    const files::Path file = home / "journal.txt";
    history::JournalFile journal(home, file);
    journal.moving(pictures / "alpha" / "alpha.png", pictures / "beta" / "alpha.png");
    journal.copying(outside / "tab\there.png", pictures / "gamma" / "line\nbreak.png");
    journal.moving(pictures / "missing.png", pictures / "lost\\found.png");
    writeSeed(seeds, "journal", "journal", files::readFile(file));
}

void sentRecordSeed(const fs::path& seeds, const files::Path& home) {
    const publish::SiteAddress address = fuzz::siteAddress();
    {
        publish::SentRecord record(home, fuzz::siteFolder(), address);
        const publish::FileKey key{.size = 5, .modifiedNs = 1'700'000'000'000'000'000, .changedNs = 1'700'000'000'000'000'000,
                                   .inode = 1234, .device = 2049};
        record.keepHashes({{"index.htm", 5, "00112233445566778899aabbccddeeff", key},
                           {"pictures/alpha.png", 12345, "ffeeddccbbaa99887766554433221100", std::nullopt}},
                          {});
        record.beginChange("index.htm", 5, {"index.htm.0123456789abcdef.tmp"});
        record.confirmSent("index.htm", {5, "00112233445566778899aabbccddeeff"}, {"index.htm.0123456789abcdef.tmp"});
        record.beginChange("pictures/alpha.png", 12345, {"pictures/alpha.png.0123456789abcdef.tmp"});
    }
    writeSeed(seeds, "sent_record", "record", files::readFile(publish::SentRecord::fileFor(home, fuzz::siteFolder(), address)));
}

void pageRecordSeed(const fs::path& seeds, const files::Path& home) {
    {
        pages::PageRecord record(home, fuzz::siteFolder());
        std::int64_t changed = 1'700'000'000'000'000'000;
        for (const char* page : {"index.htm", "a.htm", "b.htm"}) {
            const pages::InputHash::Digest digest = pages::InputHash().add(page).digest();
            record.note(page, digest, pages::InputHash().add(digest).add(changed).digest(),
                        {.size = 2048, .changed = changed, .identity = 99});
            ++changed;
        }
        record.save();
    }
    writeSeed(seeds, "page_record", "record", files::readFile(pages::pageRecordFile(home, fuzz::siteFolder())));
}

void sizeCacheSeeds(const fs::path& seeds, const files::Path& home) {
    {
        pages::PictureSizeCache cache(home, fuzz::kBase, pages::PictureSizeCache::Reading::Whole);
        int side = 100;
        for (const char* picture : fuzz::kPictures) {
            cache.keep(picture, fuzz::kPictureStamp, {side * 4, side * 3});
            side += 50;
        }
        cache.save(false);
    }
    const std::string file = files::readFile(pages::pictureSizeCacheFile(home, fuzz::kBase));
    writeSeed(seeds, "size_cache", "whole", '\0' + file);
    writeSeed(seeds, "size_cache", "as_asked", '\1' + file);
}

void keptSeeds(const fs::path& seeds, fuzz::KeptBase& base) {
    std::vector<pages::GameKeys> keys;
    pages::GameDigests(base.games, base.home_, fuzz::kBase, keys, [](std::int64_t, const pages::GameKeys&) {});
    pages::patchesOf(base.patches, base.home_, fuzz::kBase);
    const std::string games = files::readFile(pages::gameDigestsFile(base.home_, fuzz::kBase)),
                      patches = files::readFile(pages::baseCacheFile(base.home_, fuzz::kBase, ".patches"));
    writeSeed(seeds, "kept_table", "games", '\0' + games.substr(fuzz::keptHeaderSize(games)));
    writeSeed(seeds, "kept_table", "patches", '\1' + patches.substr(fuzz::keptHeaderSize(patches)));
    writeSeed(seeds, "kept_table", "games_whole", '\2' + games);
    writeSeed(seeds, "kept_table", "patches_whole", '\3' + patches);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: record_seeds FOLDER\n");
        return 2;
    }
    const fs::path seeds = argv[1];
    const files::Path home = fuzz::folder() / "home";
    fuzz::KeptBase base(home);
    keptSeeds(seeds, base);
    pointSeeds(seeds, base);
    journalSeed(seeds, home);
    sentRecordSeed(seeds, home);
    pageRecordSeed(seeds, home);
    sizeCacheSeeds(seeds, home);
    return 0;
}
