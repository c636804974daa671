#include "core/tools/checks.h"

#include "core/files/no_case_lookup.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <functional>

namespace gamarium::tools {
namespace {

// Walks every record from the first, giving each its position.
void forEachRecord(store::Table& games, const Progress& progress, const std::function<void(int)>& visit) {
    const store::Table::ManyChanges many(games);
    games.first();
    const int count = games.recordCount();
    for (int position = 1; position <= count; ++position) {
        visit(position);
        if (progress) progress(position, count);
        games.next();
    }
}

std::string finished() {
    return text::fromUtf8("Проверка закончена!");
}

} // namespace

bool sortsBefore(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    return a.size() < b.size();
}

void checkNames(store::Table& games, const StatusSink& report, const Progress& progress) {
    const store::Table::ManyChanges many(games);
    games.first();
    std::string previous = games.field(store::games::Name).asString();
    games.next();
    const int count = games.recordCount();
    for (int i = 1; i < count; ++i) {
        const std::string current = games.field(store::games::Name).asString();
        if (sortsBefore(text::lowerLatin(current), text::lowerLatin(previous))) report(previous + "\r" + current);
        previous = current;
        if (progress) progress(i + 1, count);
        games.next();
    }
    report(finished());
}

void checkPictures(store::Table& games, const files::Path& pictureRoot, const StatusSink& report,
                   const Progress& progress) {
    files::NoCaseLookup lookup;
    forEachRecord(games, progress, [&](int position) {
        const files::Path folder = lookup.find(pictureRoot, games.field(store::games::Sid).asString());
        for (const store::FieldKey field : store::games::kPictureFields) {
            const std::string name = games.field(field).asString();
            if (!name.empty() && !lookup.hasFile(folder, name))
                report(name + " " + std::to_string(position));
        }
    });
    report(finished());
}

void checkPictureNames(store::Table& games, const StatusSink& report, const Progress& progress) {
    forEachRecord(games, progress, [&](int position) {
        const std::string name = games.field(store::games::Name).asString();
        const std::string first = text::lower(name.substr(0, 1));
        for (const store::FieldKey field : store::games::kPictureFields) {
            const std::string picture = games.field(field).asString();
            if (!picture.empty() && text::lower(picture.substr(0, 1)) != first)
                report(picture + " " + std::to_string(position));
        }
    });
    report(finished());
}

} // namespace gamarium::tools
