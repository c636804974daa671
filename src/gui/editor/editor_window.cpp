#include "gui/editor/editor_window.h"

#include "core/editor/next_game.h"
#include "core/find/followed_texts.h"
#include "core/pages/base_page_settings.h"
#include "core/pages/generator.h"
#include "core/pages/template_file.h"
#include "core/pictures/picture_folder.h"
#include "gui/pictures/picture_loader.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "ui_editor_window.h"
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

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
    const std::pair<QLineEdit*, const char*> edits[] = {
        {ui_->EditN, "N"},           {ui_->EditRegion, "Region"},     {ui_->EditYear, "Year"},
        {ui_->EditNgamers, "Ngamers"}, {ui_->EditName, "Name"},       {ui_->EditPublisher, "Publisher"},
        {ui_->EditDeveloper, "Developer"}, {ui_->EditDrname, "Drname"}, {ui_->EditAnalog, "Analog"},
        {ui_->EditSid, "Sid"},       {ui_->EditRating, "Rating"},     {ui_->PatchEdit, "Patch"},
        {ui_->EditImage, "Image1"},  {ui_->EditImage2, "Image2"},     {ui_->EditImage3, "Image3"},
        {ui_->EditImage4, "Image4"}, {ui_->EditImage5, "Image5"},     {ui_->EditFile, "File"},
        {ui_->EditSize, "Size"},     {ui_->EditRelated, "Related"},   {ui_->EditRsize, "Rsize"},
    };
    for (const auto& [edit, field] : edits) form_->bind(edit, field);
    form_->bind(ui_->DBComboBox1, "Type");
    form_->bind(ui_->DBComboBox2, "Genre");
    const std::pair<QPlainTextEdit*, const char*> memos[] = {
        {ui_->MemoText, "Text1"}, {ui_->MemoText2, "Text2"}, {ui_->MemoText3, "Text3"}, {ui_->MemoText4, "Text4"}};
    for (const auto& [memo, field] : memos) form_->bind(memo, field);
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

std::string TForm2::fieldText(const char* field) {
    return Table1().fieldByName(field).asString();
}

void TForm2::setPictureFolder(const std::string& sid) {
    picfolder_ = session_->pictureFolder(sid);
}

void TForm2::showPicture(const std::string& name) {
    ui_->Panel1->setVisible(picl(picfolder_, name, ui_->Image1));
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
    const std::string image = fieldText("Image1");
    setPictureFolder(fieldText("Sid"));
    if (!image.empty() && files::fileExists(pictures::pictureFile(picfolder_, image))) showPicture(image);
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
    const std::string image = fieldText("Image1");
    setPictureFolder(fieldText("Sid"));
    if (image.empty())
        ui_->Panel1->hide();
    else if (files::fileExists(pictures::pictureFile(picfolder_, image)))
        showPicture(image);
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
// its pictures taken from the disk, shown in the browser.
void TForm2::previewPage() {
    form_->putTyping();
    const files::Path& home = session_->home();
    const std::string& base = session_->baseName();
    std::optional<pages::RememberedRun> run = pages::rememberedRun(home, base);
    if (!run) {
        const std::optional<QString> chosen = FileDialog::openFile(this, QStringLiteral("Выбор шаблона"),
                                                                   QStringLiteral("Шаблоны|*.htd|Все файлы|*.*"));
        if (!chosen) return;
        run = pages::RememberedRun{.templateFile = toPath(*chosen), .settings = {}};
        pages::rememberRun(home, base, run->templateFile, run->settings);
    }
    const pages::PageTemplate pageTemplate = pages::loadTemplate(run->templateFile);
    const files::Path folder = std::filesystem::temp_directory_path() / "gamarium-preview";
    std::filesystem::create_directories(folder);
    const files::Path file = folder / "preview.htm";
    const bool written = pages::previewPage(
        session_->games(), session_->patches(), home, base, pageTemplate, run->settings,
        session_->games().recordNumber(), pages::PictureLinks::Files, file,
        [this](const std::string& message) { MessageBox::inform(this, QString::fromStdString(message)); });
    if (written && !Browser::open(QUrl::fromLocalFile(QString::fromStdU16String(file.u16string()))))
        MessageBox::error(this, QStringLiteral("Не удалось открыть страницу в браузере."));
}

} // namespace gamarium::gui

namespace gamarium::gui {

void TForm2::setupFocusAndLooks() {
    // Tab walks the record's main fields only; the rest is reached by mouse.
    const QList<QWidget*> clickOnly = {ui_->EditDeveloper, ui_->ComboBox1,  ui_->EditDrname,  ui_->EditAnalog,
                                       ui_->EditSid,       ui_->EditImage,  ui_->EditImage2,  ui_->EditImage3,
                                       ui_->EditImage4,    ui_->EditImage5, ui_->EditFile,    ui_->Edit1,
                                       ui_->MemoText,      ui_->MemoText2,  ui_->MemoText3,   ui_->MemoText4,
                                       ui_->Memo_status,   ui_->PatchEdit};
    for (QWidget* control : clickOnly) control->setFocusPolicy(Qt::ClickFocus);
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
    const std::pair<QLabel*, QWidget*> named[] = {
        {ui_->Label1, ui_->EditN},          {ui_->Label4, ui_->EditRegion},   {ui_->Label7, ui_->EditYear},
        {ui_->Label8, ui_->EditNgamers},    {ui_->Label3, ui_->EditName},     {ui_->Label25, ui_->EditDrname},
        {ui_->Label24, ui_->EditAnalog},    {ui_->Label2, ui_->EditSid},      {ui_->Label26, ui_->EditRating},
        {ui_->Label6, ui_->PatchEdit},      {ui_->Label13, ui_->EditImage},   {ui_->Label14, ui_->EditImage2},
        {ui_->Label15, ui_->EditImage3},    {ui_->Label16, ui_->EditImage4},  {ui_->Label17, ui_->EditImage5},
        {ui_->Label27, ui_->EditFile},      {ui_->Label28, ui_->EditSize},    {ui_->Label12, ui_->Edit1},
        {ui_->Label29, ui_->EditRelated},   {ui_->Label30, ui_->EditRsize},
    };
    // The windows' common setup names each control after its buddy label.
    for (const auto& [label, control] : named) label->setBuddy(control);
    // Where one label names several controls, each gets a name of its own.
    ui_->Label11->setBuddy(ui_->EditPublisher);
    ui_->Label9->setBuddy(ui_->DBComboBox1);
    const std::pair<QWidget*, const char*> shared[] = {
        {ui_->EditPublisher, "Изд/Разр: издатель"}, {ui_->EditDeveloper, "Изд/Разр: разработчик"},
        {ui_->DBComboBox1, "Тип, жанр: тип"},        {ui_->DBComboBox2, "Тип, жанр: жанр"},
        {ui_->ComboBox1, "Тип, жанр: темы"}};
    for (const auto& [control, name] : shared) control->setAccessibleName(QString::fromUtf8(name));
    for (int field = 1; field <= 5; ++field) {
        QPushButton* const buttons[] = {ui_->Button1, ui_->Button2, ui_->Button3, ui_->Button4, ui_->Button5};
        nameControl(buttons[field - 1], QStringLiteral("Выбрать картинку Image%1").arg(field));
    }
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
    for (int field = 1; field <= 5; ++field)
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
