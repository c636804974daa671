#include "cli/find_command.h"

#include "core/error.h"
#include "core/find/table_search.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"

namespace gamarium::cli {

int findGames(Invocation& invocation) {
    find::FindQuery query;
    const text::ExactText exact = text::fromUtf8Exactly(invocation.words[1]);
    if (!exact.problem.empty()) throw Error("текст поиска: " + exact.problem);
    query.text = exact.text;
    query.wholeWord = invocation.flag("--word");
    const std::vector<std::string> fields = invocation.valuesOf("--field");
    if (!fields.empty()) query.fields = find::FieldSet::none();
    for (const std::string& name : fields) {
        const auto choice = find::fieldChoice(name);
        if (!choice) throw Error("нет поля «" + name + "» для поиска");
        query.fields = query.fields | *choice;
    }
    const auto session = invocation.openBase(invocation.words[0]);
    for (const find::FindResult& result : find::findInTable(session->games(), query)) {
        invocation.out << result.position << '\t' << result.number << '\t' << text::toUtf8(result.name) << '\t'
                       << find::fieldName(result.field) << '\n';
    }
    return 0;
}

} // namespace gamarium::cli
