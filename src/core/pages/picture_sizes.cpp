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

void PictureSizes::read(const std::vector<GameRecord>& games, std::vector<std::int64_t> order) {
    std::vector<Picture> pictures;
    pictures.reserve(games.size());
    for (const GameRecord& game : games)
        pictures.push_back({game.sid, game.image1});
    {
        const std::lock_guard lock(mutex_);
        looks_.insert(looks_.end(), std::make_move_iterator(lookBatch_.begin()), std::make_move_iterator(lookBatch_.end()));
        lookBatch_.clear();
        results_ = std::make_unique<Result[]>(games.size());
        resultCount_ = games.size();
        order_ = std::move(order);
        pictures_ = std::move(pictures);
        started_ = true;
    }
    start_.notify_one();
}

void PictureSizes::look(std::int64_t position, const GameRecord& game) {
    lookBatch_.emplace_back(position, Picture{game.sid, game.image1});
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
        std::vector<std::pair<std::int64_t, Picture>> looks;
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
                    result.size = index < known_.size() && known_[index] ? *known_[index] : readOne(pictures_[index], cache);
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

void PictureSizes::lookUp(const std::vector<std::pair<std::int64_t, Picture>>& looks, PictureSizeCache& cache) {
    for (const auto& [position, picture] : looks) {
        if (misses_ >= finds_ + kLookBatch)
            return;
        const auto index = static_cast<std::size_t>(position - 1);
        if (known_.size() <= index)
            known_.resize(index + 1);
        try {
            known_[index] = kept(picture, cache);
        } catch (...) {
            // Told when the picture is read in the order.
        }
        ++(known_[index] ? finds_ : misses_);
    }
}

PictureSizes::Known PictureSizes::kept(const Picture& picture, PictureSizeCache& cache) {
    if (picture.image1.empty())
        return std::optional<pictures::PictureSize>{};
    const Folder& folder = folderOf(picture.sid);
    const files::Path name = files::toPath(text::StoredText::fromCp1251(picture.image1));
    if (const std::optional<files::FileStamp> stamp = folder.open->stamp(name))
        if (const auto size = cache.find(folder.key + "/" + keyText(name), *stamp))
            return size;
    return std::nullopt;
}

std::optional<pictures::PictureSize> PictureSizes::readOne(const Picture& picture, PictureSizeCache& cache) {
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
