#include "cli/base_commands.h"
#include "cli/command.h"
#include "cli/dat_command.h"
#include "cli/find_command.h"
#include "cli/history_commands.h"
#include "cli/identify_command.h"
#include "cli/options.h"
#include "cli/pages_command.h"
#include "cli/pictures_command.h"
#include "cli/publish_command.h"
#include "cli/tool_commands.h"
#include "core/pages/page_settings.h"

namespace gamarium::cli {

const std::vector<Command>& commands() {
    static const std::string pagesHelp = "страницы сайта по шаблону .htd в папку OUTDIR, как их пишет окно\n"
                                         "генератора (по умолчанию: " +
                                         pages::defaultSettingsText() +
                                         ");\nсообщения идут в стандартный поток ошибок; с --site-url пишется и\n"
                                         "sitemap.xml со всеми страницами по адресу URL";
    static const std::vector<Command> table = {
        {.name = "list", .arguments = {}, .options = {}, .help = "имена баз, по одному в строке", .run = listBases},
        {.name = "create",
         .arguments = {"NAME"},
         .options = {options::Replace},
         .help = "создать базу (существующую: только с --replace)",
         .run = createBase},
        {.name = "empty", .arguments = {"NAME"}, .options = {}, .help = "очистить обе таблицы базы", .run = emptyBase},
        {.name = "convert",
         .arguments = {"NAME"},
         .options = {},
         .help = "перевести старые таблицы Paradox в таблицы программы, а старые файлы\n"
                 "убрать в base/paradox/; по строке на каждую таблицу",
         .run = convertBase},
        {.name = "export",
         .arguments = {"NAME"},
         .options = {options::Patches, options::Encoding, options::Delimiter},
         .opens = Opens::ChosenTable,
         .help = "таблица игр (или патчей) в CSV на стандартный вывод",
         .run = exportTable},
        {.name = "import",
         .arguments = {"NAME", "FILE"},
         .options = {options::Patches, options::Encoding, options::Delimiter, options::Cut},
         .opens = Opens::ChosenTable,
         .help = "добавить строки файла CSV в таблицу игр (или патчей); с --cut\n"
                 "слишком длинный текст обрезается, а не отвергается",
         .run = importTable},
        {.name = "jump",
         .arguments = {"NAME", "TEXT"},
         .options = {},
         .opens = Opens::Base,
         .help = "быстрый переход от первой игры: место или начало имени;\n"
                 "печатает МЕСТО<TAB>ИМЯ игры, на которой остановился",
         .run = jump},
        {.name = "renumber", .arguments = {"NAME"}, .options = {}, .opens = Opens::Base,
         .help = "дать каждой игре номер N по её месту", .run = renumber},
        {.name = "check",
         .arguments = {"names|pictures|picture-names|orphans", "NAME"},
         .options = {options::Move},
         .opens = Opens::Base,
         .help = "имена не по порядку, нет картинок, картинки названы не по игре;\n"
                 "orphans: картинки, которых не называет ни одна запись, ненужные папки,\n"
                 "картинки, хранимые дважды (--move убирает первые в images/NAME/_orphans/)",
         .run = check},
        {.name = "rename",
         .arguments = {"NAME", "POSITION", "NEWNAME"},
         .options = {},
         .opens = Opens::Base,
         .help = "переименовать игру на этом месте (с 1, в порядке таблицы): она встаёт\n"
                 "на место по имени, её картинки переезжают в новую папку",
         .run = rename},
        {.name = "light",
         .arguments = {"NAME"},
         .options = {},
         .opens = Opens::Base,
         .help = "скопировать первую картинку каждой игры в images/NAME/light/",
         .run = light},
        {.name = "merge",
         .arguments = {"NAME", "LISTFILE"},
         .options = {},
         .opens = Opens::Base,
         .help = "добавить игры из списка («имя;регион»; UTF-8 или Windows-1251,\n"
                 "различаются по байтам файла)",
         .run = merge},
        {.name = "pages",
         .arguments = {"NAME", "TEMPLATE", "OUTDIR"},
         .options = {options::PerPage, options::PatchPath, options::ExtPatchPath, options::ImagePath, options::SiteUrl},
         .opens = Opens::Base,
         .help = pagesHelp,
         .run = writePages},
        {.name = "preview",
         .arguments = {"NAME", "POSITION", "TEMPLATE", "OUTFILE"},
         .options = {options::ImagePath, options::PerPage, options::PatchPath, options::ExtPatchPath, options::Force},
         .opens = Opens::Base,
         .help = "одна страница с игрой на месте POSITION, как её пишет pages; без\n"
                 "--image-path картинки ссылаются на свои файлы (file://); поверх\n"
                 "файла, который не прежний предпросмотр, только с --force",
         .run = writePreview},
        {.name = "publish",
         .arguments = {"FOLDER", "URL"},
         .options = {options::Delete, options::DryRun, options::Jobs, options::CaCert, options::Check},
         .help = "отправить изменённое в FOLDER по адресу URL (sftp://, ftps:// или\n"
                 "ftp://USER@HOST[:PORT]/PATH), каждый файл встаёт на место старого целым;\n"
                 "--delete удаляет на сервере отправленное, чего в FOLDER больше нет;\n"
                 "--check сверяет сервер с записью отправленного",
         .run = publishFolder},
        {.name = "find",
         .arguments = {"NAME", "TEXT"},
         .options = {options::Field, options::Word},
         .opens = Opens::Base,
         .help = "игры, в полях которых есть TEXT (регистр не важен; F: Name, Drname,\n"
                 "Analog, Publisher, Developer, Year, Genre, Type, Text1..Text4, File, Any);\n"
                 "печатает МЕСТО<TAB>N<TAB>ИМЯ<TAB>ПОЛЕ на каждое совпадение",
         .run = findGames},
        {.name = "pictures",
         .arguments = {"NAME", "FOLDER"},
         .options = {options::Slot, options::DryRun},
         .opens = Opens::Base,
         .help = "взять картинки, названные по играм (FOLDER и его Named_Boxarts,\n"
                 "Named_Snaps, Named_Titles), в пустые поля Image",
         .run = addPictures},
        {.name = "dat",
         .arguments = {"NAME", "FILE..."},
         .lastRepeats = true,
         .options = {options::DryRun},
         .opens = Opens::Base,
         .help = "заполнить таблицу игр из DAT No-Intro и его файлов метаданных;\n"
                 "--dry-run печатает, что изменилось бы, и ничего не пишет",
         .run = importDat},
        {.name = "history",
         .arguments = {"NAME"},
         .options = {},
         .help = "точки восстановления базы, новые первыми:\n"
                 "ID<TAB>ВРЕМЯ<TAB>ЧТО<TAB>ИГР<TAB>ПАТЧЕЙ",
         .run = listPoints},
        {.name = "restore",
         .arguments = {"NAME", "ID"},
         .options = {options::DryRun},
         .opens = Opens::ForRestore,
         .help = "вернуть обе таблицы, как в точке ID, и отменить, что команды после неё\n"
                 "сделали с картинками (сначала берётся своя точка);\n"
                 "--dry-run печатает, что было бы сделано, и ничего не меняет",
         .run = restorePoint},
        {.name = "identify",
         .arguments = {"FILE..."},
         .lastRepeats = true,
         .options = {},
         .help = "размеры картинок, как их читает программа",
         .run = identify},
    };
    return table;
}

} // namespace gamarium::cli
