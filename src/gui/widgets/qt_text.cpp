#include "gui/widgets/qt_text.h"

#include "core/error.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"

namespace gamarium::gui {

QString toQt(const text::StoredText& text) {
    const std::string utf8 = text::toUtf8(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

text::StoredText fromQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return text::fromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString baseNameToQt(std::string_view base) {
    return toQt(text::StoredText::fromCp1251(base));
}

std::string baseNameFromQt(const QString& text) {
    return fromQt(text).bytes();
}

QString toQtLines(const text::StoredText& text) {
    return toQt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString withCrLf(const QString& text) {
    QString lines = text;
    return lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

text::StoredText fromQtLines(const QString& text) {
    return fromQt(withCrLf(text));
}

text::StoredText typedText(const QString& text, const std::string& where) {
    const QByteArray utf8 = text.toUtf8();
    text::ExactText exact = text::fromUtf8Exactly(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (!exact.problem.empty()) throw Error(where + ": " + exact.problem + ". Текст не принят.");
    return std::move(exact.text);
}

files::Path toPath(const QString& file) {
    const QByteArray utf8 = file.toUtf8();
    return files::Path(std::u8string(utf8.begin(), utf8.end()));
}

QString fromPath(const files::Path& path) {
    const std::u8string utf8 = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()), static_cast<qsizetype>(utf8.size()));
}

} // namespace gamarium::gui
