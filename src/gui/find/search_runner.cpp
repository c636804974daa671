#include "gui/find/search_runner.h"

#include <QMetaObject>

namespace gamarium::gui {

SearchRunner::SearchRunner() = default;

SearchRunner::~SearchRunner() {
    ++generation_;
    if (worker_.joinable()) worker_.join();
}

void SearchRunner::start(std::shared_ptr<const find::GameList> games, find::FindQuery query) {
    const unsigned generation = ++generation_;
    // The search under way sees the new generation at its next check and
    // ends; waiting for it here is short.
    if (worker_.joinable()) worker_.join();
    worker_ = std::jthread([this, generation, games = std::move(games), query = std::move(query)] {
        const auto stale = [this, generation] { return generation_.load() != generation; };
        // Nothing may leave the thread as an exception: a failure is told
        // to the window instead.
        try {
            const find::FindOutcome outcome = find::findGames(*games, query, stale);
            if (outcome.cancelled) return;
            std::vector<find::FindResult> results;
            for (std::size_t i = 0; i < outcome.matches.size() && i < kMostShown && !stale(); ++i)
                results.push_back(find::describe(*games, outcome.matches[i]));
            const std::size_t total = outcome.matches.size();
            QMetaObject::invokeMethod(
                this,
                [this, generation, results = std::move(results), total] {
                    if (generation_.load() == generation) emit finished(results, total);
                },
                Qt::QueuedConnection);
        } catch (const std::exception& error) {
            const QString message = QStringLiteral("Поиск не удался: %1").arg(QString::fromUtf8(error.what()));
            QMetaObject::invokeMethod(this, [this, message] { emit failed(message); }, Qt::QueuedConnection);
        }
    });
}

} // namespace gamarium::gui
