#include "core/pages/picture_sizes.h"

#include "core/pages/picture_size_cache.h"
#include "core/pictures/picture_folder.h"
#include "core/pictures/probe.h"

#include <stdexcept>

namespace gamarium::pages {
namespace {

std::string keyText(const files::Path& path) {
    const auto bytes = path.generic_u8string();
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

PictureSizes::PictureSizes(const files::Path& home, std::string_view base, Coverage coverage)
    : home_(home), base_(base), coverage_(coverage), pictureRoot_(pictures::basePictureFolder(home, base)),
      reader_([this](const std::stop_token& stop) { run(stop); }) {}

PictureSizes::~PictureSizes() {
    reader_.request_stop();
}

void PictureSizes::read(const std::vector<GameKeys>& games, std::vector<std::int64_t> order) {
    {
        const std::lock_guard lock(mutex_);
        looks_.insert(looks_.end(), std::make_move_iterator(lookBatch_.begin()), std::make_move_iterator(lookBatch_.end()));
        lookBatch_.clear();
        results_ = std::make_unique<Result[]>(games.size());
        resultCount_ = games.size();
        order_ = std::move(order);
        games_ = &games;
        started_ = true;
    }
    start_.notify_one();
}

void PictureSizes::look(std::int64_t position, const GameKeys& game) {
    lookBatch_.emplace_back(position, &game);
    if (lookBatch_.size() >= kLookBatch)
        handOver();
}

void PictureSizes::handOver() {
    {
        const std::lock_guard lock(mutex_);
        looks_.insert(looks_.end(), std::make_move_iterator(lookBatch_.begin()), std::make_move_iterator(lookBatch_.end()));
    }
    lookBatch_.clear();
    start_.notify_one();
}

void PictureSizes::run(const std::stop_token& stop) {
    PictureSizeCache cache(home_, base_,
                           coverage_ == Coverage::WholeBase ? PictureSizeCache::Reading::Whole
                                                            : PictureSizeCache::Reading::AsAsked);
    for (bool started = false; !started;) {
        std::vector<std::pair<std::int64_t, const GameKeys*>> looks;
        {
            std::unique_lock lock(mutex_);
            if (!start_.wait(lock, stop, [this] { return started_ || !looks_.empty(); }))
                return;
            looks.swap(looks_);
            started = started_;
        }
        lookUp(looks, cache);
    }
    for (const std::int64_t position : order_) {
        if (stop.stop_requested()) {
            cache.save(false);
            return;
        }
        // A position of no game is passed over: at() says so.
        if (position >= 1 && static_cast<std::size_t>(position) <= resultCount_) {
            Result& result = results_[static_cast<std::size_t>(position - 1)];
            if (!result.ready.load(std::memory_order_relaxed)) {
                try {
                    const auto index = static_cast<std::size_t>(position - 1);
                    result.size = index < known_.size() && known_[index] ? *known_[index] : readOne((*games_)[index], cache);
                } catch (...) {
                    result.error = std::current_exception();
                }
                result.ready.store(true, std::memory_order_release);
            }
        }
        passed();
    }
    for (std::size_t i = 0; i < resultCount_; ++i)
        if (!results_[i].ready.load(std::memory_order_relaxed)) {
            results_[i].error = std::make_exception_ptr(std::logic_error("A picture asked for out of the order"));
            results_[i].ready.store(true, std::memory_order_release);
        }
    {
        const std::lock_guard lock(mutex_);
        through_ = true;
    }
    progress_.notify_all();
    cache.save(coverage_ == Coverage::WholeBase);
}

void PictureSizes::passed() {
    if (passed_.fetch_add(1) + 1 >= wakeAt_.load()) {
        const std::lock_guard lock(mutex_);
        progress_.notify_all();
    }
}

std::optional<pictures::PictureSize> PictureSizes::at(std::int64_t position) {
    if (position < 1 || static_cast<std::size_t>(position) > resultCount_)
        throw std::out_of_range("No game at this position");
    Result& result = results_[static_cast<std::size_t>(position - 1)];
    if (!result.ready.load(std::memory_order_acquire)) {
        std::unique_lock lock(mutex_);
        while (!result.ready.load(std::memory_order_acquire)) {
            wakeAt_ = passed_ + kBatch;
            progress_.wait(lock, [this] { return through_ || passed_ >= wakeAt_; });
        }
        wakeAt_ = kNobody;
    }
    if (result.error)
        std::rethrow_exception(result.error);
    return result.size;
}

PictureSizes::Folder& PictureSizes::folderOf(const std::string& sid) {
    const auto [found, added] = folders_.try_emplace(sid);
    if (added) {
        files::Path path = names_.find(pictureRoot_, text::StoredText::fromCp1251(sid));
        found->second.key = keyText(path.filename());
        found->second.open = std::make_unique<files::OpenFolder>(std::move(path));
    }
    return found->second;
}

namespace {

// Runs work(first, last) over [0, count), the first half on a thread of its
// own when there is enough to share: asking the system for a file's stamp
// is most of a look-up, and the other processor is free by then.
template <typename Work>
void onTwoThreads(std::size_t count, const Work& work) {
    constexpr std::size_t kShared = 512;
    if (count < kShared) {
        work(std::size_t{0}, count);
        return;
    }
    const std::size_t half = count / 2;
    std::jthread helper([&] { work(std::size_t{0}, half); });
    work(half, count);
}

} // namespace

void PictureSizes::lookUp(const std::vector<std::pair<std::int64_t, const GameKeys*>>& looks, PictureSizeCache& cache) {
    struct Look {
        std::size_t index = 0;
        const Folder* folder = nullptr; // none: no file to stamp
        files::Path name;
        std::optional<files::FileStamp> stamp;
        Known known;
    };
    for (std::size_t first = 0; first < looks.size();) {
        if (misses_ >= finds_ + kLookBatch)
            return;
        // A few first, to learn soon whether the cache knows the pictures.
        const std::size_t count = std::min(finds_ > 0 ? kStampChunk : kLookBatch, looks.size() - first);
        std::vector<Look> chunk(count);
        for (std::size_t i = 0; i < count; ++i) {
            const auto& [position, game] = looks[first + i];
            const GameKeys& picture = *game;
            Look& look = chunk[i];
            look.index = static_cast<std::size_t>(position - 1);
            if (picture.image1.empty()) {
                look.known = std::optional<pictures::PictureSize>{};
                continue;
            }
            try {
                look.folder = &folderOf(picture.sid);
                look.name = files::toPath(text::StoredText::fromCp1251(picture.image1));
            } catch (...) {
                look.folder = nullptr; // told when the picture is read in the order
            }
        }
        first += count;
        onTwoThreads(count, [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i)
                try {
                    if (chunk[i].folder)
                        chunk[i].stamp = chunk[i].folder->open->stamp(chunk[i].name);
                } catch (...) {
                    // No stamp: the picture is read in the order, and what
                    // went wrong told then.
                }
        });
        for (Look& look : chunk) {
            if (look.stamp)
                if (const auto size = cache.find(look.folder->key + "/" + keyText(look.name), *look.stamp))
                    look.known = size;
            if (known_.size() <= look.index)
                known_.resize(look.index + 1);
            known_[look.index] = look.known;
            ++(look.known ? finds_ : misses_);
        }
    }
}

std::optional<pictures::PictureSize> PictureSizes::readOne(const GameKeys& picture, PictureSizeCache& cache) {
    if (picture.image1.empty())
        return std::nullopt;
    const Folder& folder = folderOf(picture.sid);
    // The name as written is tried first: matching its letter case means
    // listing the folder, which costs more than the probe itself.
    const text::StoredText image1 = text::StoredText::fromCp1251(picture.image1);
    files::Path name = files::toPath(image1);
    std::optional<files::FileStamp> stamp = folder.open->stamp(name);
    if (!stamp) {
        if (!names_.hasFile(folder.open->path(), image1))
            return std::nullopt;
        name = names_.find(folder.open->path(), image1).lexically_relative(folder.open->path());
        stamp = folder.open->stamp(name);
    }
    const std::string key = folder.key + "/" + keyText(name);
    if (stamp)
        if (const auto kept = cache.find(key, *stamp))
            return kept;
    const files::Path file = folder.open->path() / name;
    const files::FileReader reader(file);
    const auto size = pictures::probePictureSize(reader, file).value_or(pictures::PictureSize{});
    // A file that could not be opened may be readable next time with the
    // same stamp: its size is not kept.
    if (stamp && reader.open())
        cache.keep(key, *stamp, size);
    return size;
}

} // namespace gamarium::pages
