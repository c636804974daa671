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

text::StoredText finished() {
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
    text::StoredText previous = games.field(store::games::Name).asString();
    games.next();
    const int count = games.recordCount();
    for (int i = 1; i < count; ++i) {
        const text::StoredText current = games.field(store::games::Name).asString();
        if (sortsBefore(text::lowerLatin(current.bytes()), text::lowerLatin(previous.bytes())))
            report(previous + "\r"_stored + current);
        previous = current;
        if (progress) progress(i + 1, count);
        games.next();
    }
    report(finished());
}

// A picture's name and the position of the game that names it.
text::StoredText pictureLine(const text::StoredText& picture, int position) {
    return picture + text::StoredText::fromCp1251(" " + std::to_string(position));
}

void checkPictures(store::Table& games, const files::Path& pictureRoot, const StatusSink& report,
                   const Progress& progress) {
    files::NoCaseLookup lookup;
    forEachRecord(games, progress, [&](int position) {
        const files::Path folder = lookup.find(pictureRoot, games.field(store::games::Sid).asString());
        for (const store::FieldKey field : store::games::kPictureFields) {
            const text::StoredText name = games.field(field).asString();
            if (!name.empty() && !lookup.hasFile(folder, name)) report(pictureLine(name, position));
        }
    });
    report(finished());
}

void checkPictureNames(store::Table& games, const StatusSink& report, const Progress& progress) {
    forEachRecord(games, progress, [&](int position) {
        const std::string first = text::lower(games.field(store::games::Name).asString().bytes().substr(0, 1));
        for (const store::FieldKey field : store::games::kPictureFields) {
            const text::StoredText picture = games.field(field).asString();
            if (!picture.empty() && text::lower(picture.bytes().substr(0, 1)) != first)
                report(pictureLine(picture, position));
        }
    });
    report(finished());
}

} // namespace gamarium::tools
