#include "gui/app/main_window.h"

#include "core/session/base_changes.h"
#include "core/session/base_session.h"
#include "core/store/catalogue.h"
#include "gui/app/windows.h"
#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"
#include "ui_main_window.h"

#include <QApplication>
#include <QEvent>

namespace gamarium::gui {

TForm1::TForm1(Windows& windows) : windows_(windows), ui_(std::make_unique<Ui::TForm1>()) {
    ui_->setupUi(this);
    makeFixedWindow(this, 412, 198);
    // The name typed is the base worked on: completing it from the list
    // would empty or open another base than the one the user named.
    ui_->ComboBox1->setCompleter(nullptr);
    onSignal(ui_->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    onSignal(ui_->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    onSignal(ui_->Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    onSignal(ui_->ButtonPoints, &QPushButton::clicked, this, [this] { ButtonPointsClick(); });
    onSignal(qApp, &QApplication::focusChanged, this, [this] { rememberFocusWindow(); });
}

TForm1::~TForm1() = default;

std::string TForm1::baseName() const {
    return baseNameFromQt(ui_->ComboBox1->currentText());
}

std::vector<std::string> TForm1::listedBases() const {
    std::vector<std::string> names;
    for (int i = 0; i < ui_->ComboBox1->count(); ++i) names.push_back(baseNameFromQt(ui_->ComboBox1->itemText(i)));
    return names;
}

// The base list is built when the window is first shown, and again when it
// gets the focus back from a non-modal window of the program; coming back
// from a modal window (the editor, the new-base dialog) keeps the box as it is.
bool TForm1::event(QEvent* event) {
    const bool firstShow = event->type() == QEvent::Show && !activatedBefore_;
    const bool backFromNonModalWindow =
        event->type() == QEvent::WindowActivate && previousActiveWindow_ && !previousWasModal_;
    if (firstShow || backFromNonModalWindow) {
        activatedBefore_ = true;
        previousActiveWindow_ = nullptr;
        runHandler(this, [this] { FormActivate(); });
    }
    return QWidget::event(event);
}

void TForm1::rememberFocusWindow() {
    QWidget* active = QApplication::activeWindow();
    if (!active || active == this) return;
    previousActiveWindow_ = active;
    previousWasModal_ = active->isModal();
}

void TForm1::FormActivate() {
    store::prepareFolders(windows_.home());
    ui_->ComboBox1->clear();
    for (const std::string& name : store::listBases(windows_.home())) ui_->ComboBox1->addItem(baseNameToQt(name));
    ui_->ComboBox1->setEditText(ui_->ComboBox1->count() > 0 ? ui_->ComboBox1->itemText(0) : QString());
}

// A base kept in old Paradox tables is converted first, if the user agrees;
// false when not (nothing is changed then).
bool TForm1::offerConversion() {
    const std::vector<std::string> old = store::paradoxTablesOf(windows_.home(), baseName());
    if (old.empty()) return true;
    if (!MessageBox::confirm(this, QStringLiteral("Таблица «%1» записана в старом формате (Paradox). Преобразовать её?")
                                       .arg(baseNameToQt(old.front()))))
        return false;
    const store::BaseConversion result = session::convertBase(windows_.home(), baseName(), "Преобразование из Paradox");
    QStringList lines;
    for (const store::TableConversion& table : result.tables) lines << QString::fromStdString(store::reportLine(table));
    lines << QStringLiteral("Старые файлы перенесены в папку base/paradox/%1.").arg(toQt(files::nameText(result.oldFilesFolder)));
    MessageBox::inform(this, lines.join(QLatin1Char('\n')));
    return true;
}

void TForm1::Button1Click() {
    if (!offerConversion()) return;
    windows_.editBase(baseName());
}

void TForm1::Button2Click() {
    const std::optional<std::string> created = windows_.createBase(listedBases());
    if (!created) return;
    // A base made anew under a listed name stays listed once.
    if (ui_->ComboBox1->findText(baseNameToQt(*created), Qt::MatchFixedString) < 0) ui_->ComboBox1->addItem(baseNameToQt(*created));
    ui_->ComboBox1->setEditText(baseNameToQt(*created));
}

void TForm1::Button3Click() {
    if (!offerConversion()) return;
    if (!MessageBox::confirm(this, QStringLiteral("Вы уверены, что хотите удалить все данные из таблицы?"))) return;
    session::emptyBase(windows_.home(), baseName(), "Очистка базы");
}

// The base is opened only to put a point back, as it lies: a damaged table
// is what a restore is for.
void TForm1::ButtonPointsClick() {
    const std::string base = baseName();
    store::validateBaseName(base);
    windows_.showRestorePoints(this, base, [this, base](int id) {
        session::BaseSession session(windows_.home(), base, session::BaseSession::ForRestore{});
        return session.restore(id, false, "Восстановление точки " + std::to_string(id));
    });
}

} // namespace gamarium::gui
