#include "cli/base_commands.h"

#include "core/error.h"
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
    if (invocation.value("--encoding") == "cp1251") format.encoding = store::CsvFormat::Encoding::Cp1251;
    if (const auto delimiter = invocation.value("--delimiter")) format.delimiter = delimiter->front();
    return format;
}

// The table an export or import works on.
session::BaseTable tableOf(const Invocation& invocation) {
    return invocation.flag("--patches") ? session::BaseTable::Patches : session::BaseTable::Games;
}

} // namespace

int listBases(Invocation& invocation) {
    store::prepareFolders(invocation.home);
    for (const std::string& name : store::listBases(invocation.home)) invocation.out << text::toUtf8(name) << '\n';
    return 0;
}

int createBase(Invocation& invocation) {
    const files::Path& home = invocation.home;
    const std::string base = text::toStoredText(invocation.words[0]);
    store::validateBaseName(base);
    store::prepareFolders(home);
    if (!invocation.flag("--replace") && store::baseExists(home, base))
        throw Error("база «" + invocation.words[0] + "» уже есть; --replace заменит её таблицы пустыми");
    const std::string created = store::createBase(home, base, invocation.flag("--replace"));
    // The list of bases as the window would have it: those found, the new one last.
    std::vector<std::string> names = store::findBases(home);
    std::erase_if(names, [&](const std::string& name) { return text::equalNoCase(name, created); });
    names.push_back(created);
    store::writeBasesList(home, names);
    store::makePictureFolder(home, created);
    return 0;
}

int emptyBase(Invocation& invocation) {
    store::emptyBase(invocation.home, text::toStoredText(invocation.words[0]));
    return 0;
}

int convertBase(Invocation& invocation) {
    const store::BaseConversion result = store::convertBase(invocation.home, text::toStoredText(invocation.words[0]));
    for (const store::TableConversion& table : result.tables) invocation.out << store::reportLine(table) << '\n';
    return 0;
}

int exportTable(Invocation& invocation) {
    const store::CsvFormat format = csvFormat(invocation);
    const auto opened = invocation.openTable(invocation.words[0], tableOf(invocation));
    store::Table& table = *opened;
    store::exportCsv(table, invocation.out, format);
    invocation.out.flush();
    if (!invocation.out) throw Error("не удалось записать в стандартный вывод");
    return 0;
}

int importTable(Invocation& invocation) {
    store::ImportOptions options;
    options.cutToFieldSize = invocation.flag("--cut");
    options.format = csvFormat(invocation);
    const auto opened = invocation.openTable(invocation.words[0], tableOf(invocation));
    store::Table& table = *opened;
    const std::string document = files::readFile(invocation.path(invocation.words[1]), kLargestTextFile);
    const store::ImportResult result = store::importCsv(table, document, options);
    if (options.cutToFieldSize) invocation.out << "обрезано текстов: " << result.cut << '\n';
    return 0;
}

} // namespace gamarium::cli
