#include "cli/base_commands.h"

#include "cli/options.h"
#include "core/error.h"
#include "core/session/base_changes.h"
#include "core/store/base_conversion.h"
#include "core/store/catalogue.h"
#include "core/store/table_transfer.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"

namespace gamarium::cli {

namespace {

store::CsvFormat csvFormat(const Invocation& invocation) {
    store::CsvFormat format;
    // The command table has checked both values.
    if (invocation.value(options::Encoding) == "cp1251") format.encoding = store::CsvFormat::Encoding::Cp1251;
    if (const auto delimiter = invocation.value(options::Delimiter)) format.delimiter = delimiter->front();
    return format;
}

} // namespace

int listBases(Invocation& invocation) {
    store::prepareFolders(invocation.home);
    for (const std::string& name : store::listBases(invocation.home)) invocation.out << text::toUtf8(text::StoredText::fromCp1251(name)) << '\n';
    return 0;
}

int createBase(Invocation& invocation) {
    const files::Path& home = invocation.home;
    const std::string base = text::toStoredText(invocation.words[0]).bytes();
    store::validateBaseName(base);
    store::prepareFolders(home);
    if (!invocation.isSet(options::Replace) && store::baseExists(home, base))
        throw Error("база «" + invocation.words[0] + "» уже есть; --replace заменит её таблицы пустыми");
    session::createBase(home, base, invocation.isSet(options::Replace), store::findBases(home), invocation.what);
    return 0;
}

int emptyBase(Invocation& invocation) {
    session::emptyBase(invocation.home, text::toStoredText(invocation.words[0]).bytes(), invocation.what);
    return 0;
}

int convertBase(Invocation& invocation) {
    const store::BaseConversion result =
        session::convertBase(invocation.home, text::toStoredText(invocation.words[0]).bytes(), invocation.what);
    for (const store::TableConversion& table : result.tables) invocation.out << store::reportLine(table) << '\n';
    return 0;
}

int exportTable(Invocation& invocation) {
    const store::CsvFormat format = csvFormat(invocation);
    store::exportCsv(invocation.base().table(invocation.chosenTable()), invocation.out, format);
    invocation.out.flush();
    if (!invocation.out) throw Error("не удалось записать в стандартный вывод");
    return 0;
}

int importTable(Invocation& invocation) {
    store::ImportOptions options;
    options.cutToFieldSize = invocation.isSet(options::Cut);
    options.format = csvFormat(invocation);
    const std::string document = files::readFile(invocation.path(invocation.words[1]), kLargestTextFile);
    const auto change = invocation.base().beginChange(invocation.what);
    const store::ImportResult result =
        store::importCsv(invocation.base().table(invocation.chosenTable()), document, options);
    invocation.out << "Добавлено: " << result.added;
    if (options.cutToFieldSize) invocation.out << ", обрезано текстов: " << result.cut;
    invocation.out << '\n';
    return 0;
}

} // namespace gamarium::cli
