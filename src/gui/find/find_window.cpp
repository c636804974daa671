#include "gui/find/find_window.h"

#include "core/text/exact_conversion.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/screen_place.h"
#include "ui_find_window.h"

#include <QKeyEvent>
#include <QScreen>

#include <algorithm>
#include <array>

namespace gamarium::gui {

namespace {

using find::FieldSet;
using find::SearchField;

struct FieldChoice {
    const char* label;
    FieldSet fields;
};

// The choices of the field box, named as the editor labels the fields.
const std::array<FieldChoice, 13>& fieldChoices() {
    static const std::array<FieldChoice, 13> choices = {{
        {"Все поля", FieldSet::all()},
        {"Имя", FieldSet::of(SearchField::Name)},
        {"Др.имя", FieldSet::of(SearchField::Drname)},
        {"Аналог", FieldSet::of(SearchField::Analog)},
        {"Издатель", FieldSet::of(SearchField::Publisher)},
        {"Разработчик", FieldSet::of(SearchField::Developer)},
        {"Год", FieldSet::of(SearchField::Year)},
        {"Тип, жанр", FieldSet::of(SearchField::Type) | FieldSet::of(SearchField::Genre)},
        {"Описание", FieldSet::of(SearchField::Text1)},
        {"Дополнит.", FieldSet::of(SearchField::Text2)},
        {"Пароли", FieldSet::of(SearchField::Text3)},
        {"Game Genie", FieldSet::of(SearchField::Text4)},
        {"РОМ", FieldSet::of(SearchField::File)},
    }};
    return choices;
}

// The field a result was found in, as the results list names it.
QString fieldLabel(SearchField field) {
    switch (field) {
    case SearchField::Type: return QStringLiteral("Тип");
    case SearchField::Genre: return QStringLiteral("Жанр");
    default: break;
    }
    for (const FieldChoice& choice : fieldChoices())
        if (choice.fields == FieldSet::of(field)) return QString::fromUtf8(choice.label);
    return {};
}

constexpr int kRecordRole = Qt::UserRole;

} // namespace

FindWindow::FindWindow(std::function<std::shared_ptr<const find::GameList>()> games, QWidget* parent)
    : QDialog(parent), games_(std::move(games)), ui_(std::make_unique<Ui::FindWindow>()) {
    ui_->setupUi(this);
    for (const FieldChoice& choice : fieldChoices()) ui_->ComboField->addItem(QString::fromUtf8(choice.label));
    nameControlsByTheirLabels(this);
    nameControl(ui_->ListResults, QStringLiteral("Найденные игры"));
    onSignal(ui_->EditFind, &QLineEdit::textChanged, this, [this] { refresh(); });
    onSignal(ui_->ComboField, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    onSignal(ui_->CheckWord, &QCheckBox::toggled, this, [this] { refresh(); });
    onSignal(ui_->ListResults, &QTreeWidget::itemDoubleClicked, this, [this] { chooseCurrent(); });
    onSignal(&runner_, &SearchRunner::finished, this,
             [this](const std::vector<find::FindResult>& results, std::size_t total) { showResults(results, total); });
    onSignal(&runner_, &SearchRunner::failed, this, [this](const QString& message) {
        showResults({}, 0);
        ui_->LabelCount->setText(message);
    });
}

FindWindow::~FindWindow() = default;

find::FindQuery FindWindow::typedQuery() const {
    const QByteArray utf8 = ui_->EditFind->text().toUtf8();
    const text::ExactText typed = text::fromUtf8Exactly(std::string_view(utf8.constData(), utf8.size()));
    find::FindQuery query;
    query.text = typed.problem.empty() ? typed.text : text::StoredText();
    query.fields = fieldChoices()[static_cast<std::size_t>(std::max(0, ui_->ComboField->currentIndex()))].fields;
    query.wholeWord = ui_->CheckWord->isChecked();
    return query;
}

void FindWindow::refresh() {
    const find::FindQuery query = typedQuery();
    if (query.text.empty()) {
        showResults({}, 0);
        if (!ui_->EditFind->text().isEmpty())
            ui_->LabelCount->setText(QStringLiteral("Такого текста в базе быть не может: знака нет в Windows-1251"));
        return;
    }
    runner_.start(games_(), query);
}

void FindWindow::refreshSoon() {
    if (refreshPending_) return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshPending_ = false;
            runHandler(this, [this] { refresh(); });
        },
        Qt::QueuedConnection);
}

void FindWindow::showResults(const std::vector<find::FindResult>& results, std::size_t total) {
    ui_->ListResults->clear();
    QList<QTreeWidgetItem*> items;
    for (const find::FindResult& result : results) {
        auto* item = new QTreeWidgetItem(QStringList{QString::number(result.position), toQt(result.number),
                                                     toQt(result.name), toQt(result.region), fieldLabel(result.field),
                                                     toQt(result.excerpt)});
        item->setData(0, kRecordRole, QVariant::fromValue<qlonglong>(result.record));
        items.push_back(item);
    }
    ui_->ListResults->addTopLevelItems(items);
    if (!items.empty()) ui_->ListResults->setCurrentItem(items.front());
    // A long name is cut, so that the field and the excerpt stay in view.
    const int widest = ui_->ListResults->viewport()->width() / 3;
    for (int column = 0; column < 4; ++column) {
        ui_->ListResults->resizeColumnToContents(column);
        ui_->ListResults->setColumnWidth(column, std::min(ui_->ListResults->columnWidth(column), widest));
    }
    QString count = QStringLiteral("Найдено: %1").arg(total);
    if (total > results.size()) count += QStringLiteral(" (показаны первые %1)").arg(results.size());
    ui_->LabelCount->setText(total || !ui_->EditFind->text().isEmpty() ? count : QString());
}

void FindWindow::chooseCurrent() {
    if (const QTreeWidgetItem* item = ui_->ListResults->currentItem())
        emit gameChosen(item->data(0, kRecordRole).toLongLong());
}

// Enter chooses the current result wherever the focus is (the results list
// passes it on); it never closes the window as a default button would.
void FindWindow::keepBeside(QWidget* owner) {
    if (owner_ != owner) {
        if (owner_) owner_->removeEventFilter(this);
        owner_ = owner;
        owner_->installEventFilter(this);
    }
    const QScreen* screen = owner->screen();
    if (!screen) return;
    // The window's frame as designed, and the least that still shows a result list.
    const QSize border = frameGeometry().size() - size();
    const SideBySide placed = besideWindow(owner->frameGeometry(), QSize(620, 380) + border, QSize(280, 240) + border,
                                           screen->availableGeometry());
    if (placed.owner != owner->frameGeometry().topLeft()) owner->move(placed.owner);
    move(placed.window.topLeft());
    resize(placed.window.size() - border);
}

bool FindWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == owner_ && event->type() == QEvent::Resize && isVisible()) keepBeside(owner_);
    return QDialog::eventFilter(watched, event);
}

void FindWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        chooseCurrent();
        return;
    }
    if (event->key() == Qt::Key_Down && ui_->EditFind->hasFocus()) {
        ui_->ListResults->setFocus();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace gamarium::gui
