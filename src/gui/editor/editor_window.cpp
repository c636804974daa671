#include "gui/editor/editor_window.h"

#include "core/editor/next_game.h"
#include "core/find/followed_texts.h"
#include "core/pages/base_page_settings.h"
#include "core/pages/generator.h"
#include "core/pages/preview_target.h"
#include "core/pages/template_file.h"
#include "core/pictures/picture_folder.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "gui/pictures/picture_loader.h"
#include "gui/tools/more_tools.h"
#include "gui/tools/tool_buttons.h"
#include "gui/widgets/browser.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/record_form.h"
#include "gui/widgets/screen_place.h"
#include "ui_editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace gamarium::gui {
namespace {

// The layout was drawn for a frame of 4 pixels on each side: outer widths
// are the client width plus 8 whatever frame the window system draws.
constexpr int kFrameWidth = 8;
constexpr int kNarrowWidth = 380;
constexpr int kWideWidth = 710;
// Where the editor was laid out to open.
constexpr QPoint kDesignedPlace(200, 107);

} // namespace

TForm2::TForm2(EditorLinks& windows) : windows_(windows), ui_(std::make_unique<Ui::TForm2>()) {
    ui_->setupUi(this);
    fields_ = editorFields(*ui_);
    form_ = std::make_unique<RecordForm>(this);
    findTexts_ = std::make_unique<find::FollowedTexts>();
    findTexts_->onChanged([this] { windows_.refreshFoundGames(); });
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    makeFixedWindow(this, 372, 557);
    move(kDesignedPlace);
    bindControls();
    setupFocusAndLooks();
    setupFieldColours();
    setupTypeLists();
    setupTextPanes();
    setupPictureFields();
    setupQuickJumpAndPatchLink();
    setupTools();
    setupMoreTools();
    connectHandlers();
}

TForm2::~TForm2() {
    FormClose();
}

store::Table& TForm2::Table1() {
    return session_->games();
}

QFrame* TForm2::previewPanel() const {
    return ui_->Panel1;
}

QLabel* TForm2::previewView() const {
    return ui_->Image1;
}

void TForm2::bindControls() {
    for (const EditorField& bound : fields_) {
        if (auto* edit = qobject_cast<QLineEdit*>(bound.control))
            form_->bind(edit, bound.field);
        else if (auto* box = qobject_cast<QComboBox*>(bound.control))
            form_->bind(box, bound.field);
        else
            form_->bind(qobject_cast<QPlainTextEdit*>(bound.control), bound.field);
    }
    ui_->DBNavigator->setButtons({NavigatorBar::Button::First, NavigatorBar::Button::Prior, NavigatorBar::Button::Next,
                                  NavigatorBar::Button::Last, NavigatorBar::Button::Insert,
                                  NavigatorBar::Button::Delete, NavigatorBar::Button::Post});
    ui_->DBNavigator->setForm(form_.get());
}

void TForm2::connectHandlers() {
    onSignal(ui_->DBNavigator, &NavigatorBar::clicked, this, [this] { DBNavigatorClick(); });
    onSignal(ui_->Button6, &QPushButton::clicked, this, [this] { Button6Click(); });
    onSignal(ui_->Button9, &QPushButton::clicked, this, [this] { Button9Click(); });
    onSignal(ui_->Button11, &QPushButton::clicked, this, [this] { Button11Click(); });
    auto* preview = new QAction(QStringLiteral("Просмотр страницы"), this);
    preview->setObjectName(QStringLiteral("PreviewAction"));
    preview->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(preview);
    onSignal(preview, &QAction::triggered, this, [this] { previewPage(); });
}

// A plain window run modally rather than a dialog: the editor has no
// default button for Enter to press, and Esc does not close it.
void TForm2::runModally() {
    show();
    // On a small screen the designed place would leave part of it off the screen.
    keepOnScreen(this, kDesignedPlace);
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
}

text::StoredText TForm2::fieldText(store::FieldKey field) {
    return Table1().field(field).asString();
}

void TForm2::setPictureFolder(const text::StoredText& sid) {
    picfolder_ = session_->pictureFolder(sid);
}

text::StoredText TForm2::firstPicture() {
    setPictureFolder(fieldText(store::games::Sid));
    return fieldText(store::games::Image1);
}

void TForm2::showPicture(const text::StoredText& name) {
    ui_->Panel1->setVisible(picl(picfolder_, name, ui_->Image1));
}

void TForm2::showPictureIfThere(const text::StoredText& name) {
    if (!name.empty() && files::fileExists(pictures::pictureFile(picfolder_, name))) showPicture(name);
}

void TForm2::FormShow(const std::string& base) {
    FormClose();
    session_ = std::make_unique<session::BaseSession>(windows_.home(), base);
    form_->setTable(&session_->games());
    findTexts_->follow(&session_->games());
    // What the last base's tools reported is not about this one.
    ui_->Memo_status->clear();
    QPixmap blank(400, 300);
    blank.fill(palette().color(QPalette::Button));
    ui_->Image1->setPixmap(blank);
    ui_->Panel1->hide();
    showPictureIfThere(firstPicture());
    colorer();
}

// Something the user typed is not lost by closing: the user is asked. A
// save that fails keeps the window open.
void TForm2::closeEvent(QCloseEvent* event) {
    const bool saved = runHandler(this, [this] {
        if (session_ && form_->typed() && MessageBox::confirm(this, QStringLiteral("Сохранить изменения?")))
            form_->post();
    });
    if (!saved) {
        event->ignore();
        return;
    }
    FormClose();
    if (modalLoop_) modalLoop_->quit();
}

void TForm2::FormClose() {
    windows_.closeFindGames();
    findTexts_->follow(nullptr);
    form_->setTable(nullptr);
    session_.reset();
}

void TForm2::DBNavigatorClick() {
    const text::StoredText image = firstPicture();
    if (image.empty())
        ui_->Panel1->hide();
    else
        showPictureIfThere(image);
    colorer();
    colorcontrol();
}

// The new game shows empty Type and Genre boxes as the form loads it.
void TForm2::Button6Click() {
    form_->save();
    editor::appendNextGame(Table1());
    // The new game has no pictures yet: nothing to preview.
    ui_->Panel1->hide();
    colorer();
    ui_->EditRegion->setFocus();
}

int TForm2::outerWidth() const {
    return width() + kFrameWidth;
}

void TForm2::setOuterWidth(int outer) {
    setFixedWidth(outer - kFrameWidth);
}

void TForm2::Button9Click() {
    if (outerWidth() > 390) {
        setOuterWidth(kNarrowWidth);
        ui_->Button9->setText(QStringLiteral(">"));
    } else {
        setOuterWidth(kWideWidth);
        ui_->Button9->setText(QStringLiteral("<"));
        keepOnScreen(this, pos());
    }
}

// What was typed is saved first: the pages are written from the table.
void TForm2::Button11Click() {
    form_->putTyping();
    windows_.generatePages(*session_);
}

// The current game's page as the generator last wrote this base's pages,
// its pictures taken from the disk and the site's own from its folder,
// shown in the browser at the game.
void TForm2::previewPage() {
    form_->putTyping();
    const files::Path& home = session_->home();
    const std::string& base = session_->baseName();
    std::optional<pages::RememberedRun> run = pages::rememberedRun(home, base);
    if (!run) {
        MessageBox::inform(this, QStringLiteral("Страницы этой базы ещё не создавались, и шаблона страницы для "
                                                "просмотра нет. Выберите шаблон (.htd): он запомнится, как после "
                                                "«Создать главные страницы»."));
        const std::optional<QString> chosen =
            FileDialog::openFile(this, QStringLiteral("Выбор шаблона"), QStringLiteral("Шаблоны|*.htd|Все файлы|*.*"),
                                 fromPath(pages::templatesFolder(home)));
        if (!chosen) return;
        run = pages::RememberedRun{.templateFile = toPath(*chosen), .settings = {}};
        run->settings.outputFolder = pages::defaultOutputFolder(home);
        pages::rememberRun(home, base, run->templateFile, run->settings);
    }
    const pages::PageTemplate pageTemplate = pages::loadTemplate(run->templateFile);
    const pages::BrowserPreview preview = pages::browserPreviewFiles(home, base);
    std::filesystem::create_directories(preview.page.parent_path());
    const pages::BrowserView view{.siteFolder = run->settings.outputFolder, .anchor = "gamarium-game"};
    if (!pages::previewPage(
            session_->games(), session_->patches(), home, base, pageTemplate, run->settings,
            session_->games().recordNumber(), pages::PictureLinks::Files, preview.page,
            [this](const std::string& message) { MessageBox::inform(this, QString::fromStdString(message)); }, &view))
        return;
    files::writeFileReplacing(preview.opener, pages::openerPage(preview, view.anchor));
    const QString page = fromPath(preview.page);
    Browser::open(QUrl::fromLocalFile(fromPath(preview.opener)), [window = QPointer<TForm2>(this), page](const QString& why) {
        if (window)
            MessageBox::error(window, QStringLiteral("Страница не открылась в браузере: %1\nОна записана в файл «%2»; "
                                                     "его можно открыть в браузере самому.")
                                          .arg(why, page));
    });
}

} // namespace gamarium::gui

namespace gamarium::gui {

void TForm2::setupFocusAndLooks() {
    // Tab walks the record's main fields only; the rest is reached by mouse.
    for (const EditorField& bound : fields_)
        if (!bound.tabStop) bound.control->setFocusPolicy(Qt::ClickFocus);
    for (QWidget* control : std::initializer_list<QWidget*>{ui_->ComboBox1, ui_->Edit1, ui_->Memo_status})
        control->setFocusPolicy(Qt::ClickFocus);
    for (QPushButton* button : findChildren<QPushButton*>()) button->setFocusPolicy(Qt::ClickFocus);
    setFontOf(ui_->EditName, 8, true);
    setFontOf(ui_->Button6, 10, true);
    setFontOf(ui_->Button9, 24, true);
    setFontOf(ui_->Label5, 10, false);
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(9);
    ui_->EditFile->setFont(small);
    nameControls();
}

void TForm2::nameControls() {
    // The windows' common setup names each control after its buddy label.
    for (const EditorField& bound : fields_)
        if (bound.label) bound.label->setBuddy(bound.control);
    ui_->Label12->setBuddy(ui_->Edit1);
    // Where one label names several controls, each gets a name of its own.
    const std::pair<QWidget*, const char*> shared[] = {
        {ui_->EditPublisher, "Изд/Разр: издатель"}, {ui_->EditDeveloper, "Изд/Разр: разработчик"},
        {ui_->DBComboBox1, "Тип, жанр: тип"},        {ui_->DBComboBox2, "Тип, жанр: жанр"},
        {ui_->ComboBox1, "Тип, жанр: темы"}};
    for (const auto& [control, name] : shared) control->setAccessibleName(QString::fromUtf8(name));
    for (const EditorField& bound : fields_)
        if (bound.chooser) nameControl(bound.chooser, QStringLiteral("Выбрать картинку ") + toQt(text::StoredText::fromCp1251(bound.field.name())));
    nameControl(ui_->Button7, QStringLiteral("Выбрать патч"));
    nameControl(ui_->Button9, QStringLiteral("Шире или уже"));
    nameControl(ui_->RadioGroup1, QStringLiteral("Текст"));
    const std::pair<QPlainTextEdit*, QString> panes[] = {{ui_->MemoText, QStringLiteral("Описание")},
                                                         {ui_->MemoText2, QStringLiteral("Дополнит.")},
                                                         {ui_->MemoText3, QStringLiteral("Пароли")},
                                                         {ui_->MemoText4, QStringLiteral("Game Genie")}};
    for (const auto& [pane, name] : panes) pane->setAccessibleName(name);
    ui_->Memo_status->setAccessibleName(QStringLiteral("Сообщения"));
    ui_->Image1->setAccessibleName(QStringLiteral("Картинки из игры"));
}

int TForm2::pictureFieldOfEdit(const QWidget* control) const {
    for (int field = 1; field <= static_cast<int>(store::games::kPictureFields.size()); ++field)
        if (pictureEdit(field) == control) return field;
    return 0;
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control) return false;
    bool handled = false;
    runHandler(this, [&] { handled = handleEvent(control, event); });
    return handled;
}

bool TForm2::handleEvent(QWidget* control, QEvent* event) {
    auto* memo = qobject_cast<QPlainTextEdit*>(control->parentWidget());
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        dispatchFocus(control, event);
        break;
    case QEvent::MouseMove:
        if (pictureFieldOfEdit(control)) EditImageMouseMove(control);
        break;
    case QEvent::MouseButtonDblClick:
        if (control == ui_->PatchEdit) {
            Button7Click();
            return true;
        }
        if (pictureFieldOfEdit(control)) {
            Button1Click(control);
            return true;
        }
        if (memo && control == memo->viewport()) {
            MemoText4DblClick(memo);
            return true;
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (auto* pane = qobject_cast<QPlainTextEdit*>(control)) return MemoText4KeyDown(pane, key);
        if (control == ui_->ComboBox1->lineEdit() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            ComboBox1Change();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace gamarium::gui
