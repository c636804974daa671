#pragma once

#include "core/find/find_games.h"
#include "core/find/game_texts.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace gamarium::gui {

// Runs one search at a time on a thread of its own over a snapshot of the
// games, so that typing never waits for it: a new search cancels the one
// under way, and only the newest one's results are delivered.
class SearchRunner : public QObject {
    Q_OBJECT

public:
    // Results shown at most; the count says how many there were in all.
    static constexpr std::size_t kMostShown = 500;

    SearchRunner();
    ~SearchRunner() override;

    void start(std::shared_ptr<const find::GameList> games, find::FindQuery query);

signals:
    // On the window's thread: the newest search's first results and the count of all.
    void finished(const std::vector<find::FindResult>& results, std::size_t total);
    // On the window's thread: the search failed (memory ran out), with what to show.
    void failed(const QString& message);

private:
    std::atomic<unsigned> generation_{0};
    std::jthread worker_;
};

} // namespace gamarium::gui
