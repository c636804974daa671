#pragma once

#include "core/files/files.h"
#include "core/files/no_case_lookup.h"
#include "core/files/system.h"
#include "core/pages/game_record.h"
#include "core/pictures/picture.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

// The sizes of the games' first pictures for one run of the page
// generator. Reading them means opening a file for every game, as long as
// rendering and writing all the pages, so they are read on a thread of
// their own, in the order the pages will ask for them, and kept in the
// base's picture size cache: a picture unchanged since is not opened.
namespace gamarium::pages {

class PictureSizeCache;

class PictureSizes {
public:
    // Whether the order holds every game of the base, so that the cache
    // may forget the pictures it did not ask for.
    enum class Coverage { WholeBase, SomeGames };

    // Starts opening the cache of the pictures of `base`, in images/<base>/
    // of the program folder `home`, while the games are being read.
    PictureSizes(const files::Path& home, std::string_view base, Coverage coverage);
    ~PictureSizes();
    PictureSizes(const PictureSizes&) = delete;
    PictureSizes& operator=(const PictureSizes&) = delete;

    // While the games are being read, before read(): looks up the picture
    // of the game at `position` in the cache as soon as it is known, so
    // that a picture unchanged since is done with before the order is.
    // `game` is kept, not copied: it is the one read() will be given.
    void look(std::int64_t position, const GameKeys& game);

    // Starts reading the pictures of `games` (their Sid and Image1 are
    // used; the games are kept, not copied) at the 1-based positions in
    // `order`; a position may come more than once. Called once. Going, it
    // stops reading what has not been asked for.
    void read(const std::vector<GameKeys>& games, std::vector<std::int64_t> order);

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
    // A game's picture folder, held open.
    struct Folder {
        std::unique_ptr<files::OpenFolder> open;
        std::string key; // its name, which begins the cache keys of its pictures
    };
    void run(const std::stop_token& stop);
    // What the games looked at so far hold, by position - 1: a size known
    // without opening a picture (none for an empty Image1), or nothing.
    using Known = std::optional<std::optional<pictures::PictureSize>>;
    void handOver();
    void lookUp(const std::vector<std::pair<std::int64_t, const GameKeys*>>& looks, PictureSizeCache& cache);
    std::optional<pictures::PictureSize> readOne(const GameKeys& picture, PictureSizeCache& cache);
    Folder& folderOf(const std::string& sid);
    // One more entry of the order gone through.
    void passed();

    // A waiting at() is woken once the reader has got on by a batch of
    // entries, not for every picture: a wait and a wake-up for each would
    // cost more than finding its size in the cache.
    static constexpr std::size_t kBatch = 64;
    // Looks are handed to the reader in batches of this many; once misses
    // outrun finds by a batch, the cache is taken not to know the pictures
    // and the rest wait for the order.
    static constexpr std::size_t kLookBatch = 256;
    // Once the cache is seen to know pictures, they are looked up this many
    // at a time.
    static constexpr std::size_t kStampChunk = 4096;
    static constexpr std::size_t kNobody = static_cast<std::size_t>(-1);

    files::Path home_;
    std::string base_;
    Coverage coverage_;
    files::Path pictureRoot_;
    files::NoCaseLookup names_;
    std::unordered_map<std::string, Folder> folders_; // by Sid as written

    std::mutex mutex_;
    std::condition_variable_any start_;
    bool started_ = false; // under the mutex
    const std::vector<GameKeys>* games_ = nullptr; // the caller's, from read()
    std::vector<std::pair<std::int64_t, const GameKeys*>> lookBatch_; // the caller's, not yet handed over
    std::vector<std::pair<std::int64_t, const GameKeys*>> looks_;     // under the mutex
    std::vector<Known> known_;                                // the reader's
    std::size_t finds_ = 0, misses_ = 0;                      // the reader's
    std::vector<std::int64_t> order_;
    std::unique_ptr<Result[]> results_; // by position - 1
    std::size_t resultCount_ = 0;
    std::condition_variable progress_;        // with mutex_
    std::atomic<std::size_t> passed_{0};      // entries of the order gone through
    std::atomic<std::size_t> wakeAt_{kNobody}; // passed_ that wakes the waiting at()
    bool through_ = false;                    // under the mutex: every result is ready
    std::jthread reader_; // last: stopped and joined before the rest goes
};

} // namespace gamarium::pages
