#include "cli/find_command.h"

#include "cli/options.h"
#include "core/error.h"
#include "core/find/table_search.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"
#include "core/text/printable.h"

namespace gamarium::cli {

int findGames(Invocation& invocation) {
    find::FindQuery query;
    const text::ExactText exact = text::fromUtf8Exactly(invocation.words[1]);
    if (!exact.problem.empty()) throw Error("текст поиска: " + exact.problem);
    query.text = exact.text;
    query.wholeWord = invocation.isSet(options::Word);
    const std::vector<std::string> fields = invocation.valuesOf(options::Field);
    if (!fields.empty()) query.fields = find::FieldSet::none();
    // Each name has been checked by the command table.
    for (const std::string& name : fields) query.fields = query.fields | *find::fieldChoice(name);
    const std::vector<find::FindResult> results = find::findInTable(invocation.base().games(), query);
    // Standard output stays the list of what was found, empty here.
    if (results.empty()) invocation.err << "Ничего не найдено.\n";
    for (const find::FindResult& result : results) {
        invocation.out << result.position << '\t' << text::toUtf8(result.number) << '\t'
                       << text::printable(text::toUtf8(result.name), std::string::npos) << '\t'
                       << find::fieldKey(result.field).name() << '\n';
    }
    return 0;
}

} // namespace gamarium::cli
