#pragma once

#include "core/files/files.h"
#include "core/files/no_case_lookup.h"
#include "core/pages/game_record.h"
#include "core/pages/picture_size_cache.h"
#include "core/pictures/picture.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <optional>
#include <stop_token>
#include <string_view>
#include <thread>
#include <string>
#include <unordered_map>
#include <vector>

// The sizes of the games' first pictures for one run of the page
// generator. Reading them means opening a file for every game, as long as
// rendering and writing all the pages, so they are read on a thread of
// their own, in the order the pages will ask for them, and kept in the
// base's picture size cache: a picture unchanged since is not opened.
namespace gamarium::pages {

class PictureSizes {
public:
    // Whether the order holds every game of the base, so that the cache
    // may forget the pictures it did not ask for.
    enum class Coverage { WholeBase, SomeGames };

    // Starts reading the pictures of `games` (kept, not copied) at the
    // 1-based positions in `order` from images/<base>/ of the program
    // folder `home`; a position may come more than once. Going, it stops
    // reading what has not been asked for.
    PictureSizes(const std::vector<GameRecord>& games, std::vector<std::int64_t> order, const files::Path& home,
                 std::string_view base, Coverage coverage);
    PictureSizes(const PictureSizes&) = delete;
    PictureSizes& operator=(const PictureSizes&) = delete;

    // The size of the first picture of the game at `position`, looked up in
    // images/<base>/<Sid>/ whatever the names' letter case; 0 x 0 for a
    // file whose header gives no size; nothing when Image1 is empty or
    // names no file. Waits until it has been read; an error reading it is
    // thrown here, as is asking for a position that is not in the order.
    std::optional<pictures::PictureSize> at(std::int64_t position);

private:
    struct Result {
        std::optional<pictures::PictureSize> size;
        std::exception_ptr error;
        std::atomic<bool> ready{false};
    };
    void readAll(const std::stop_token& stop, const std::vector<std::int64_t>& order, Coverage coverage);
    std::optional<pictures::PictureSize> read(const GameRecord& game, PictureSizeCache& cache);
    static void done(Result& result);

    const std::vector<GameRecord>& games_;
    files::Path home_;
    std::string base_;
    files::Path pictureRoot_;
    files::NoCaseLookup names_;
    // Sizes by the file's path as written: a patched game comes twice.
    std::unordered_map<files::Path::string_type, pictures::PictureSize> known_;
    std::vector<Result> results_; // by position - 1
    std::jthread reader_;         // last: stopped and joined before the rest goes
};

} // namespace gamarium::pages
