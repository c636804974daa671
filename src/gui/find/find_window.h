#pragma once

#include "core/find/find_games.h"
#include "gui/find/search_runner.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class FindWindow;
}

namespace gamarium::gui {

// The find window: stays open beside the editor and shows, as the user
// types, every game whose texts hold the text. Enter or a double-click on
// a result asks the editor to go to that game.
class FindWindow : public QDialog {
    Q_OBJECT

public:
    // `games` gives the games as they are now; the window never reads a table.
    explicit FindWindow(std::function<std::shared_ptr<const find::GameList>()> games, QWidget* parent = nullptr);
    ~FindWindow() override;

    // Places the shown window beside `owner`, never over it (screen_place.h),
    // and again whenever the owner changes its size.
    void keepBeside(QWidget* owner);

    // Searches again with what the boxes hold.
    void refresh();
    // Searches again once the window's events are through: the games have
    // changed (told from within the table's events, which may not read it).
    void refreshSoon();

signals:
    // The user chose the game with this identity in the table.
    void gameChosen(std::int64_t record);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    find::FindQuery typedQuery() const;
    void showResults(const std::vector<find::FindResult>& results, std::size_t total);
    void chooseCurrent();

    std::function<std::shared_ptr<const find::GameList>()> games_;
    std::unique_ptr<Ui::FindWindow> ui_;
    SearchRunner runner_;
    bool refreshPending_ = false;
    QWidget* owner_ = nullptr;
};

} // namespace gamarium::gui
