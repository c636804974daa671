#include "core/pages/picture_sizes.h"

#include "core/files/system.h"
#include "core/pictures/picture_folder.h"
#include "core/pictures/probe.h"

#include <stdexcept>

namespace gamarium::pages {

PictureSizes::PictureSizes(const std::vector<GameRecord>& games, std::vector<std::int64_t> order,
                           const files::Path& home, std::string_view base, Coverage coverage)
    : games_(games), home_(home), base_(base), pictureRoot_(pictures::basePictureFolder(home, base)),
      results_(games.size()), reader_([this, order = std::move(order), coverage](const std::stop_token& stop) {
          readAll(stop, order, coverage);
      }) {}

void PictureSizes::readAll(const std::stop_token& stop, const std::vector<std::int64_t>& order, Coverage coverage) {
    PictureSizeCache cache(home_, base_);
    for (const std::int64_t position : order) {
        if (stop.stop_requested()) {
            cache.save(false);
            return;
        }
        if (position < 1 || static_cast<std::size_t>(position) > results_.size())
            continue; // no such game: at() says so
        Result& result = results_[static_cast<std::size_t>(position - 1)];
        if (result.ready.load(std::memory_order_relaxed))
            continue;
        try {
            result.size = read(games_[static_cast<std::size_t>(position - 1)], cache);
        } catch (...) {
            result.error = std::current_exception();
        }
        done(result);
    }
    for (Result& result : results_)
        if (!result.ready.load(std::memory_order_relaxed)) {
            result.error = std::make_exception_ptr(std::logic_error("A picture asked for out of the order"));
            done(result);
        }
    cache.save(coverage == Coverage::WholeBase);
}

void PictureSizes::done(Result& result) {
    result.ready.store(true, std::memory_order_release);
    result.ready.notify_one();
}

std::optional<pictures::PictureSize> PictureSizes::at(std::int64_t position) {
    Result& result = results_.at(static_cast<std::size_t>(position - 1));
    result.ready.wait(false, std::memory_order_acquire);
    if (result.error)
        std::rethrow_exception(result.error);
    return result.size;
}

std::optional<pictures::PictureSize> PictureSizes::read(const GameRecord& game, PictureSizeCache& cache) {
    if (game.image1.empty())
        return std::nullopt;
    const files::Path folder = names_.find(pictureRoot_, game.sid);
    // The name as written is tried first: matching its letter case means
    // listing the folder, which costs more than the probe itself.
    const files::Path named = folder / files::toPath(game.image1);
    if (const auto known = known_.find(named.native()); known != known_.end())
        return known->second;
    files::Path file = named;
    std::optional<files::FileStamp> stamp = files::fileStamp(file);
    if (!stamp) {
        if (!names_.hasFile(folder, game.image1))
            return std::nullopt;
        file = names_.find(folder, game.image1);
        stamp = files::fileStamp(file);
    }
    if (stamp)
        if (const auto kept = cache.find(file, *stamp))
            return known_.emplace(named.native(), *kept).first->second;
    const files::FileReader reader(file);
    const auto size = pictures::probePictureSize(reader, file).value_or(pictures::PictureSize{});
    // A file that could not be opened may be readable next time with the
    // same stamp: its size is not kept.
    if (stamp && reader.open())
        cache.keep(file, *stamp, size);
    return known_.emplace(named.native(), size).first->second;
}

} // namespace gamarium::pages
