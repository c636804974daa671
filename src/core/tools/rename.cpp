#include "tools/rename.h"

#include "editor/quick_jump.h"
#include "store/table.h"
#include "text/cp1251.h"

#include <filesystem>

namespace gamarium::tools {
namespace {

// Moves one picture, never over an existing file; returns what went wrong.
std::string movePicture(const files::Path& from, const files::Path& toFolder, const std::string& name) {
    const files::Path source = files::findNoCase(from, name);
    const files::Path target = toFolder / files::toPath(name);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(source, ec)) return text::fromUtf8("файла нет");
    if (std::filesystem::exists(std::filesystem::symlink_status(target, ec)))
        return text::fromUtf8("в новой папке уже есть такой файл");
    std::filesystem::rename(source, target, ec);
    if (ec) return text::fromUtf8("не удалось переместить");
    return {};
}

std::vector<std::string> readFields(store::Table& games) {
    std::vector<std::string> values;
    for (int i = 0; i < games.fieldCount(); ++i) values.push_back(games.field(i).asString());
    return values;
}

} // namespace

std::string sidof(std::string_view name) {
    if (name.empty()) return {};
    const char first = text::lower(name.front());
    if (first >= '0' && first <= '9') return "num";
    return std::string(1, first);
}

RenameResult renameGame(store::Table& games, const files::Path& pictureRoot, std::string_view newName) {
    RenameResult result;
    if (newName.empty() || games.isEmpty()) return result;
    std::int64_t oldPosition = games.recordNumber();
    editor::findname(games, newName);
    // The new record goes before the record found, or after the last one
    // when the new name sorts after it.
    const bool afterLast = games.recordNumber() == games.recordCount() &&
                           editor::compareWithName(text::lower(newName), games.fieldByName("Name").asString()) > 0;
    if (afterLast)
        games.append();
    else
        games.insert();
    // The empty record carries its position as N from the start.
    std::int64_t newPosition = games.recordNumber();
    games.fieldByName("N").setAsInteger(newPosition);
    games.post();
    if (newPosition <= oldPosition) ++oldPosition;

    games.moveToPosition(oldPosition);
    const std::vector<std::string> values = readFields(games);
    games.moveToPosition(newPosition);
    games.edit();
    for (int i = 0; i < games.fieldCount(); ++i) games.field(i).setAsString(values[static_cast<std::size_t>(i)]);
    games.fieldByName("N").setAsInteger(newPosition);
    const std::string oldName = games.fieldByName("Name").asString();
    const std::string drname = games.fieldByName("Drname").asString();
    games.fieldByName("Drname").setAsString(drname.empty() ? oldName : drname + "; " + oldName);
    games.fieldByName("Name").setAsString(newName);
    if (games.fieldByName("Sid").asString() != "pd") games.fieldByName("Sid").setAsString(sidof(newName));
    games.post();

    games.moveToPosition(oldPosition);
    result.oldSid = games.fieldByName("Sid").asString();
    games.remove();
    if (oldPosition < newPosition) --newPosition;
    games.moveToPosition(newPosition);
    result.newSid = games.fieldByName("Sid").asString();
    result.renamed = true;

    if (result.oldSid != result.newSid) {
        const files::Path from = files::findNoCase(pictureRoot, result.oldSid);
        const files::Path to = files::findNoCase(pictureRoot, result.newSid);
        files::makeFolder(to);
        for (const char* field : {"Image1", "Image2", "Image3", "Image4", "Image5"}) {
            const std::string name = games.fieldByName(field).asString();
            if (!name.empty()) result.pictures.push_back({name, movePicture(from, to, name)});
        }
    }
    return result;
}

std::string movedPicturesMessage(const RenameResult& result) {
    std::string moved, failed;
    for (const PictureMove& picture : result.pictures) {
        if (picture.problem.empty())
            moved += picture.name + "\r";
        else
            failed += picture.name + ": " + picture.problem + "\r";
    }
    std::string message = text::fromUtf8("Внимание!!\rЯ переместил файлы\r") + moved + text::fromUtf8("в папку \"\\") +
                          result.newSid + "\"";
    if (!failed.empty()) message += text::fromUtf8("\rНе удалось переместить:\r") + failed;
    return message;
}

} // namespace gamarium::tools
