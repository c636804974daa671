#include "core/tools/rename.h"

#include "core/editor/quick_jump.h"
#include "core/error.h"
#include "core/files/plain_name.h"
#include "core/history/picture_journal.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"
#include "core/text/printable.h"
#include "core/tools/light.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace gamarium::tools {
namespace {

// Moves one picture, or copies it when other games name it too; never over
// an existing file. Returns what went wrong.
text::StoredText movePicture(const files::Path& from, const files::Path& toFolder, const text::StoredText& name,
                             bool copy, history::PictureJournal& journal) {
    if (!files::isPlainName(name.bytes())) return text::fromUtf8("это не имя файла в папке картинок");
    const files::Path source = files::findNoCase(from, name);
    const files::Path target = toFolder / files::toPath(name);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec)) return text::fromUtf8("файла нет");
    if (std::filesystem::exists(std::filesystem::symlink_status(target, ec)))
        return text::fromUtf8("в новой папке уже есть такой файл");
    if (!copy) {
        journal.moving(source, target);
        std::filesystem::rename(source, target, ec);
        return ec ? text::fromUtf8("не удалось переместить") : text::StoredText();
    }
    journal.copying(source, target);
    try {
        copydated(source, target);
    } catch (const Error& e) {
        return text::fromUtf8(std::string("не удалось скопировать: ") + e.what());
    }
    return {};
}

// The picture names (in upper case) of the games whose Sid is `sid`.
std::set<text::StoredText> picturesOfGroup(store::Table& games, const text::StoredText& sid) {
    std::set<text::StoredText> names;
    games.forEachRecord(store::games::withPictureFields({store::games::Sid}), [&](std::size_t) {
        if (!text::equalNoCase(games.field(store::games::Sid).asString(), sid)) return;
        for (const store::FieldKey field : store::games::kPictureFields)
            names.insert(text::upper(games.field(field).asString()));
    });
    return names;
}

// Refuses a Sid that could not be a picture folder's name, before anything
// changes.
void requireFolderName(const text::StoredText& sid, const char* whose) {
    if (!files::isPlainName(sid.bytes()))
        throw Error("Переименование отменено: группа картинок " + text::quoted(text::toUtf8(sid)) + " " + whose +
                    " не может быть именем папки.");
}

std::vector<text::StoredText> readFields(store::Table& games) {
    std::vector<text::StoredText> values;
    for (int i = 0; i < games.fieldCount(); ++i) values.push_back(games.field(i).asString());
    return values;
}

} // namespace

text::StoredText sidof(const text::StoredText& name) {
    if (name.empty()) return {};
    const char first = text::lower(name.bytes().front());
    if (first >= '0' && first <= '9') return "num"_stored;
    return text::StoredText::fromCp1251(std::string(1, first));
}

RenameResult renameGame(store::Table& games, const files::Path& pictureRoot, const text::StoredText& newName,
                        history::PictureJournal& journal) {
    RenameResult result;
    if (newName.empty() || games.isEmpty()) return result;
    const text::StoredText oldSid = games.field(store::games::Sid).asString();
    const text::StoredText newSid = oldSid == "pd"_stored ? oldSid : sidof(newName);
    if (newSid != oldSid) {
        requireFolderName(newSid, "нового названия");
        // The old Sid names a folder only for pictures to move out of it.
        const bool hasPictures = std::ranges::any_of(store::games::kPictureFields, [&](store::FieldKey field) {
            return !games.field(field).asString().empty();
        });
        if (hasPictures) requireFolderName(oldSid, "этой игры");
    }
    std::int64_t oldPosition = games.recordNumber();
    std::int64_t newPosition = 0;
    // The copy, its filling and the old record's deletion are stored
    // together or not at all: a kill leaves the old record or the new one.
    games.runAsOneTransaction([&] {
        editor::findname(games, newName.bytes());
        // The new record goes before the record found, or after the last
        // one when the new name sorts after it.
        const bool afterLast = games.recordNumber() == games.recordCount() &&
                               editor::compareWithName(text::lower(newName.bytes()),
                                                       games.field(store::games::Name).asString().bytes()) > 0;
        if (afterLast)
            games.append();
        else
            games.insert();
        // The empty record carries its position as N from the start.
        newPosition = games.recordNumber();
        games.field(store::games::N).setAsInteger(newPosition);
        games.post();
        if (newPosition <= oldPosition) ++oldPosition;

        games.moveToPosition(oldPosition);
        const std::vector<text::StoredText> values = readFields(games);
        games.moveToPosition(newPosition);
        games.edit();
        for (int i = 0; i < games.fieldCount(); ++i) games.field(i).setAsString(values[static_cast<std::size_t>(i)]);
        games.field(store::games::N).setAsInteger(newPosition);
        const text::StoredText oldName = games.field(store::games::Name).asString();
        const text::StoredText drname = games.field(store::games::Drname).asString();
        games.field(store::games::Drname).setAsString(drname.empty() ? oldName : drname + "; "_stored + oldName);
        games.field(store::games::Name).setAsString(newName);
        games.field(store::games::Sid).setAsString(newSid);
        games.post();

        games.moveToPosition(oldPosition);
        games.remove();
        if (oldPosition < newPosition) --newPosition;
    });
    games.moveToPosition(newPosition);
    result.oldSid = oldSid;
    result.newSid = games.field(store::games::Sid).asString();
    result.renamed = true;

    // The pictures follow the stored record. A picture that another game of
    // the old group names stays there for it, and a copy goes along.
    if (result.oldSid != result.newSid) {
        const files::Path from = files::findNoCase(pictureRoot, result.oldSid);
        const files::Path to = files::findNoCase(pictureRoot, result.newSid);
        files::makeFolder(to);
        const std::set<text::StoredText> shared = picturesOfGroup(games, result.oldSid);
        for (const store::FieldKey field : store::games::kPictureFields) {
            const text::StoredText name = games.field(field).asString();
            if (name.empty()) continue;
            const bool copy = shared.count(text::upper(name)) > 0;
            result.pictures.push_back({name, movePicture(from, to, name, copy, journal), copy});
        }
    }
    return result;
}

text::StoredText movedPicturesMessage(const RenameResult& result) {
    const text::StoredText lineEnd = "\r"_stored;
    text::StoredText moved, failed;
    for (const PictureMove& picture : result.pictures) {
        if (!picture.problem.empty())
            failed += picture.name + ": "_stored + picture.problem + lineEnd;
        else if (!picture.copied)
            moved += picture.name + lineEnd;
    }
    text::StoredText message = text::fromUtf8("Внимание!!\rЯ переместил файлы\r") + moved +
                               text::fromUtf8("в папку \"\\") + result.newSid + "\""_stored;
    if (!failed.empty()) message += text::fromUtf8("\rНе удалось переместить:\r") + failed;
    return message;
}

text::StoredText copiedPicturesLine(const RenameResult& result) {
    text::StoredText names;
    for (const PictureMove& picture : result.pictures)
        if (picture.copied && picture.problem.empty()) names += (names.empty() ? text::StoredText() : ", "_stored) + picture.name;
    if (names.empty()) return {};
    return text::fromUtf8("Картинки, которые называют и другие игры, скопированы в папку \"\\") + result.newSid +
           text::fromUtf8("\", а не перемещены: ") + names;
}

} // namespace gamarium::tools
