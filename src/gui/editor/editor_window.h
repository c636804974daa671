#pragma once

#include "core/files/files.h"
#include "core/store/record_fields.h"
#include "gui/editor/editor_fields.h"
#include "gui/editor/editor_links.h"
#include "gui/tools/tool_host.h"
#include "gui/widgets/navigator_bar.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QEventLoop;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace Ui {
class TForm2;
}

namespace gamarium::find {
class FollowedTexts;
}

namespace gamarium::session {
class BaseSession;
}

namespace gamarium::store {
class Table;
}

namespace gamarium::gui {

class MoreTools;
class RecordForm;
class ToolButtons;
class ToolRunner;

// The record editor: edits the games of a base one record at a time, with
// the first picture of each in view, and carries the tools that work on the
// whole base. While it is shown it holds the base's session: the game
// table (Table1) and the patch table open.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(EditorLinks& windows);
    ~TForm2() override;

    // Opening: opens the base's session and shows its first game. A table
    // that cannot be opened gives its error, and nothing changes.
    void FormShow(const std::string& base);
    // Shows the window and waits until it has closed.
    void runModally();
    // Closing: the session ends, dropping a change not yet saved.
    void FormClose();

    // The open base; nullptr while the editor is closed.
    session::BaseSession* session() const { return session_.get(); }
    QFrame* previewPanel() const;
    QLabel* previewView() const;

    // Navigation, adding the next game, width, the page generator.
    void DBNavigatorClick();
    void Button6Click();
    void Button9Click();
    void Button11Click();
    // "Просмотр страницы" (F5): the current game's page in the browser.
    void previewPage();

    // Field highlighting.
    void EditRegionEnter(QWidget* sender);
    void EditNExit(QWidget* sender);
    void DBComboBox1Enter(QWidget* sender);
    void DBComboBox2Enter(QWidget* sender);
    void ComboBox1Enter(QWidget* sender);
    void colorer();
    void colorcontrol();

    // Type, genre and theme lists.
    void DBComboBox1Change();
    void ComboBox1Change();

    // Text panes.
    void RadioGroup1Click();
    void MemoText4DblClick(QPlainTextEdit* sender);
    // True when the key was a wrap (Ctrl+B, Ctrl+I) and has been handled.
    bool MemoText4KeyDown(QPlainTextEdit* sender, const QKeyEvent* key);

    // Quick jump and patch link.
    void Button10Click();
    void Button7Click();

    // The tools of the "Управление" group (gui/tools/tool_buttons.h). Each
    // reports in Memo_status; while one runs the window's other controls wait.
    void Button8Click();
    void Button12Click();
    void Button14Click();
    void Button15Click();
    void Button13Click();
    void Button16Click();
    void Button17Click();
    // The "Ещё" menu's entries beyond its tools (gui/tools/more_tools.h).
    void findGames();
    void restorePoints();
    // Goes to the game with that identity as the navigator moves: the
    // typing goes with the record left, or its refusal keeps the editor there.
    void goToGame(std::int64_t record);

    // Picture fields and the preview.
    void showpic();
    void Button1Click(QWidget* sender);
    void EditImageMouseMove(QWidget* sender);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The open base's game table.
    store::Table& Table1();
    void bindControls();
    void connectHandlers();
    void setupFocusAndLooks();
    void setupFieldColours();
    void setupTypeLists();
    void setupTextPanes();
    void setupPictureFields();
    void setupQuickJumpAndPatchLink();
    void setupTools();
    void setupMoreTools();
    // What the tools need of the editor.
    ToolHost toolHost();
    // The window's outer width as the layout counts it (client area plus
    // the frame of the system the layout comes from).
    int outerWidth() const;
    void setOuterWidth(int width);
    // picfolder: the picture folder of a game of the open base.
    void setPictureFolder(const text::StoredText& sid);
    // The current game's first picture (Image1), picfolder set to its Sid's.
    text::StoredText firstPicture();
    // Loads a picture of picfolder into the preview, which shows when the
    // file exists and hides when it does not.
    void showPicture(const text::StoredText& name);
    // showPicture for a named picture whose file is there; otherwise the
    // preview stays as it is.
    void showPictureIfThere(const text::StoredText& name);
    // The edit of a picture field (from 1), or nullptr.
    QLineEdit* pictureEdit(int field) const;
    // Gives a field's control the visited colour (a picture chosen, a patch linked).
    void markVisited(QWidget* control);
    int pictureFieldOfEdit(const QWidget* control) const;
    void nameControls();
    // Sends focus, pointer and key events of the controls to their
    // handlers; true when the event has been dealt with.
    bool handleEvent(QWidget* control, QEvent* event);
    // Sends focus events of the controls to the highlighting handlers.
    void dispatchFocus(QWidget* control, QEvent* event);
    text::StoredText fieldText(store::FieldKey field);

    EditorLinks& windows_;
    std::unique_ptr<Ui::TForm2> ui_;
    std::vector<EditorField> fields_;
    std::unique_ptr<RecordForm> form_;
    std::unique_ptr<session::BaseSession> session_;
    std::unique_ptr<find::FollowedTexts> findTexts_;
    files::Path picfolder_;
    char lastslot_ = '\0';
    QEventLoop* modalLoop_ = nullptr;
    ToolRunner* toolRunner_ = nullptr;
    std::unique_ptr<ToolButtons> toolButtons_;
    std::unique_ptr<MoreTools> moreTools_;
};

} // namespace gamarium::gui
