#include "core/pages/picture_sizes.h"

#include "core/files/system.h"
#include "core/pictures/probe.h"

#include <stdexcept>

namespace gamarium::pages {

PictureSizes::PictureSizes(const std::vector<GameRecord>& games, std::vector<std::int64_t> order,
                           files::Path pictureRoot)
    : games_(games), pictureRoot_(std::move(pictureRoot)), results_(games.size()),
      reader_([this, order = std::move(order)](const std::stop_token& stop) { readAll(stop, order); }) {}

void PictureSizes::readAll(const std::stop_token& stop, const std::vector<std::int64_t>& order) {
    for (const std::int64_t position : order) {
        if (stop.stop_requested())
            return;
        if (position < 1 || static_cast<std::size_t>(position) > results_.size())
            continue; // no such game: at() says so
        Result& result = results_[static_cast<std::size_t>(position - 1)];
        if (result.ready.load(std::memory_order_relaxed))
            continue;
        try {
            result.size = read(games_[static_cast<std::size_t>(position - 1)]);
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

std::optional<pictures::PictureSize> PictureSizes::read(const GameRecord& game) {
    if (game.image1.empty())
        return std::nullopt;
    const files::Path folder = names_.find(pictureRoot_, game.sid);
    // The name as written is tried first: matching its letter case means
    // listing the folder, which costs more than the probe itself.
    const files::Path named = folder / files::toPath(game.image1);
    if (const auto known = known_.find(named.native()); known != known_.end())
        return known->second;
    std::optional<files::FileReader> reader(std::in_place, named);
    files::Path file = named;
    if (!reader->open()) {
        if (!names_.hasFile(folder, game.image1))
            return std::nullopt;
        file = names_.find(folder, game.image1);
        reader.emplace(file);
    }
    const auto size = pictures::probePictureSize(*reader, file).value_or(pictures::PictureSize{});
    return known_.emplace(named.native(), size).first->second;
}

} // namespace gamarium::pages
