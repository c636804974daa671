#include "find_command.h"

#include "error.h"
#include "find/find_games.h"
#include "find/game_texts.h"
#include "store/catalogue.h"
#include "store/table.h"
#include "text/cp1251.h"
#include "text/exact_conversion.h"

namespace gamarium::cli {

int runFind(const files::Path& home, const std::string& base, const std::string& text,
            const std::vector<std::string>& fields, bool wholeWord, std::ostream& out) {
    find::FindQuery query;
    const text::ExactText exact = text::fromUtf8Exactly(text);
    if (!exact.problem.empty()) throw Error("текст поиска: " + exact.problem);
    query.text = exact.text;
    query.wholeWord = wholeWord;
    if (!fields.empty()) query.fields = find::FieldSet::none();
    for (const std::string& name : fields) {
        const auto choice = find::fieldChoice(name);
        if (!choice) throw Error("нет поля «" + name + "» для поиска");
        query.fields = query.fields | *choice;
    }
    store::Table games(store::basesFolder(home), store::gameTableName(text::fromUtf8(base)));
    games.open();
    find::GameTexts texts;
    texts.reload(games);
    const auto list = texts.snapshot();
    for (const find::FindMatch& match : find::findGames(*list, query).matches) {
        const find::FindResult result = find::describe(*list, match);
        out << result.position << '\t' << result.number << '\t' << text::toUtf8(result.name) << '\t'
            << find::fieldName(result.field) << '\n';
    }
    return 0;
}

} // namespace gamarium::cli
