#include "core/session/base_changes.h"

#include "core/history/picture_journal.h"
#include "core/history/point_store.h"
#include "core/paradox/paradox_table.h"
#include "core/session/base_session.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <memory>
#include <optional>

namespace gamarium::session {
namespace {

// Takes the point and hands its journal to the old files' moves.
class PointForChange {
public:
    PointForChange(const files::Path& home, const std::string& base, const std::string& what)
        : home_(home), points_(home, base), what_(what) {}

    store::BaseChangeHooks hooks() {
        return {[this](store::sqlite::Database* games, store::sqlite::Database* patches) {
                    take({games, false}, {patches, false});
                },
                [this](const files::Path& from, const files::Path& to) { journal_->moving(from, to); }};
    }

    void take(const history::PointSource& games, const history::PointSource& patches) {
        const history::Point point = points_.take(what_, games, patches);
        journal_ = std::make_unique<history::JournalFile>(home_, point.journalFile());
        points_.keepWithinRules();
    }

private:
    files::Path home_;
    history::PointStore points_;
    std::string what_;
    std::unique_ptr<history::JournalFile> journal_;
};

} // namespace

std::string createBase(const files::Path& home, const std::string& base, bool replace, std::vector<std::string> listed,
                       const std::string& what) {
    store::validateBaseName(base);
    store::prepareFolders(home);
    const bool existed = store::baseExists(home, base);
    if (existed && !replace) throw Error("База «" + text::toUtf8(text::StoredText::fromCp1251(base)) + "» уже есть.");
    std::string created;
    if (existed) {
        finishKilledRestore(home, base);
        PointForChange point(home, base, what);
        created = store::createBase(home, base, true, point.hooks());
    } else {
        created = store::createBase(home, base, false);
    }
    std::erase_if(listed, [&](const std::string& name) { return text::equalNoCase(name, created); });
    listed.push_back(created);
    store::writeBasesList(home, listed);
    store::makePictureFolder(home, created);
    return created;
}

void emptyBase(const files::Path& home, const std::string& base, const std::string& what) {
    finishKilledRestore(home, base);
    PointForChange point(home, base, what);
    store::emptyBase(home, base, point.hooks());
}

store::BaseConversion convertBase(const files::Path& home, const std::string& base, const std::string& what) {
    finishKilledRestore(home, base);
    if (store::paradoxTablesOf(home, base).empty()) return store::convertBase(home, base);
    // The table that is not an old one stays as it is: held meanwhile, it
    // goes into the point as it was.
    std::optional<store::Table> held[2];
    history::PointSource sources[2];
    const BaseTable tables[] = {BaseTable::Games, BaseTable::Patches};
    for (int i = 0; i < 2; ++i) {
        const files::Path folder = store::basesFolder(home);
        const std::string name = tableName(base, tables[i]);
        const files::Path file = files::findNoCase(folder, text::StoredText::fromCp1251(name));
        if (!files::fileExists(file) || paradox::isParadoxTable(file)) continue;
        held[i].emplace(folder, name);
        try {
            held[i]->open();
            sources[i].held = &held[i]->database();
        } catch (const Error&) {
            sources[i].unreadable = true;
        }
    }
    PointForChange point(home, base, what);
    point.take(sources[0], sources[1]);
    return store::convertBase(home, base, point.hooks());
}

} // namespace gamarium::session
