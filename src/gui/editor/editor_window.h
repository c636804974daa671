#pragma once

#include "files/files.h"
#include "tools/status.h"
#include "widgets/navigator_bar.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

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

namespace gamarium::store {
class Table;
}

namespace gamarium::gui {

class DataSource;
class Windows;

// The record editor: edits the games of the current base one record at a
// time, with the first picture of each in view, and carries the tools that
// work on the whole base. While it is shown it holds the base's game table
// (Table1) and patch table open, and the main window is hidden.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    explicit TForm2(Windows& windows);
    ~TForm2() override;

    // Opens the tables of the base named in the main window and shows the
    // window modally. A table that cannot be opened gives its error, and
    // nothing is shown or changed.
    void showModally();

    store::Table& Table1() { return *table1_; }
    DataSource& DataSource1() { return *dataSource1_; }
    QFrame* previewPanel() const;
    QLabel* previewView() const;

    // Opening and closing, navigation, adding the next game, width.
    void FormShow();
    void FormClose();
    void DBNavigatorClick(NavigatorBar::Button button);
    void Button6Click();
    void Button9Click();
    void Button11Click();

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
    void findname();
    void Button7Click();

    // The tools of the "Управление" group. Each reports in Memo_status;
    // while one runs the window's other controls wait.
    void Button8Click();
    void Button12Click();
    void Button14Click();
    void Button15Click();
    void Button13Click();
    void Button16Click();
    void Button17Click();

    // Picture fields and the preview.
    void showpic();
    void Button1Click(QWidget* sender);
    void EditImageMouseMove(QWidget* sender);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bindControls();
    void connectHandlers();
    void setupFocusAndLooks();
    void setupFieldColours();
    void setupTypeLists();
    void setupTextPanes();
    void setupPictureFields();
    void setupQuickJumpAndPatchLink();
    void setupTools();
    // Runs a tool: the other controls disabled and a progress bar shown
    // meanwhile, pending window events let through as it goes.
    void runTool(const std::function<void(const tools::StatusSink&, const tools::Progress&)>& work);
    void addStatus(const std::string& line);
    files::Path pictureRoot() const;
    // The window's outer width as the layout counts it (client area plus
    // the frame of the system the layout comes from).
    int outerWidth() const;
    void setOuterWidth(int width);
    // The picture folder of a game of the current base.
    void setPictureFolder(const std::string& sid);
    bool hasUnsavedChanges() const;
    // The edit of a picture field (1 to 5), or nullptr.
    QLineEdit* pictureEdit(int field) const;
    // Gives a field's control the visited colour (a picture chosen, a patch linked).
    void markVisited(QWidget* control);
    int pictureFieldOfEdit(const QWidget* control) const;
    void nameControls();
    // Sends focus, pointer and key events of the controls to their handlers.
    bool dispatchFocus(QWidget* control, QEvent* event);
    std::string fieldText(const char* field);

    Windows& windows_;
    std::unique_ptr<Ui::TForm2> ui_;
    std::unique_ptr<store::Table> table1_;
    std::unique_ptr<DataSource> dataSource1_;
    char lastslot_ = '\0';
    QEventLoop* modalLoop_ = nullptr;
    bool toolRunning_ = false;
};

} // namespace gamarium::gui
