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
    static const std::string pagesHelp = "write the site's pages from a .htd template into OUTDIR as the\n"
                                         "generator window does (its defaults: " +
                                         pages::defaultSettingsText() +
                                         ");\nmessages go to standard error; --site-url also writes sitemap.xml\n"
                                         "listing every page under URL";
    static const std::vector<Command> table = {
        {.name = "list", .arguments = {}, .options = {}, .help = "the base names, one per line", .run = listBases},
        {.name = "create",
         .arguments = {"NAME"},
         .options = {options::Replace},
         .help = "create a base (an existing one only with --replace)",
         .run = createBase},
        {.name = "empty", .arguments = {"NAME"}, .options = {}, .help = "empty both tables of a base", .run = emptyBase},
        {.name = "convert",
         .arguments = {"NAME"},
         .options = {},
         .help = "convert the base's old Paradox tables into the program's own, moving\n"
                 "the old files into base/paradox/; one line per table converted",
         .run = convertBase},
        {.name = "export",
         .arguments = {"NAME"},
         .options = {options::Patches, options::Encoding, options::Delimiter},
         .opens = Opens::ChosenTable,
         .help = "write the game (or patch) table as CSV to standard output",
         .run = exportTable},
        {.name = "import",
         .arguments = {"NAME", "FILE"},
         .options = {options::Patches, options::Encoding, options::Delimiter, options::Cut},
         .opens = Opens::ChosenTable,
         .help = "append the rows of a CSV file to the game (or patch) table;\n"
                 "--cut cuts texts longer than their field instead of refusing",
         .run = importTable},
        {.name = "jump",
         .arguments = {"NAME", "TEXT"},
         .options = {},
         .opens = Opens::Base,
         .help = "the quick jump from the first game: a position, or the start of a\n"
                 "name; prints POSITION<TAB>NAME of the game it lands on",
         .run = jump},
        {.name = "renumber", .arguments = {"NAME"}, .options = {}, .opens = Opens::Base,
         .help = "give every game its position as N", .run = renumber},
        {.name = "check",
         .arguments = {"names|pictures|picture-names|orphans", "NAME"},
         .options = {options::Move},
         .opens = Opens::Base,
         .help = "names out of order, missing pictures, pictures named unlike the game;\n"
                 "orphans: picture files no record names, folders no record uses, pictures\n"
                 "stored twice (--move moves the first into images/NAME/_orphans/)",
         .run = check},
        {.name = "rename",
         .arguments = {"NAME", "POSITION", "NEWNAME"},
         .options = {},
         .opens = Opens::Base,
         .help = "rename the game at that position (1-based, in table order),\n"
                 "moving it to its place by name and its pictures to the new folder",
         .run = rename},
        {.name = "light",
         .arguments = {"NAME"},
         .options = {},
         .opens = Opens::Base,
         .help = "copy each game's first picture into images/NAME/light/",
         .run = light},
        {.name = "merge",
         .arguments = {"NAME", "LISTFILE"},
         .options = {},
         .opens = Opens::Base,
         .help = "append the games of a game list file (\"name;region\"; UTF-8 or\n"
                 "Windows-1251, told apart by its bytes)",
         .run = merge},
        {.name = "pages",
         .arguments = {"NAME", "TEMPLATE", "OUTDIR"},
         .options = {options::PerPage, options::PatchPath, options::ExtPatchPath, options::ImagePath, options::SiteUrl},
         .opens = Opens::Base,
         .help = pagesHelp,
         .run = writePages},
        {.name = "preview",
         .arguments = {"NAME", "POSITION", "TEMPLATE", "OUTFILE"},
         .options = {options::ImagePath, options::PerPage, options::PatchPath, options::ExtPatchPath},
         .opens = Opens::Base,
         .help = "write the one page that holds the game at POSITION as `pages` writes it;\n"
                 "without --image-path its pictures link to their files (file:// URLs)",
         .run = writePreview},
        {.name = "publish",
         .arguments = {"FOLDER", "URL"},
         .options = {options::Delete, options::DryRun, options::Jobs, options::CaCert, options::Check},
         .help = "send what changed in FOLDER to URL (sftp://, ftps:// or ftp://USER@HOST[:PORT]/PATH),\n"
                 "each file renamed over the old one when whole; --delete removes remote files\n"
                 "it sent that FOLDER no longer has; --check compares the server with the record",
         .run = publishFolder},
        {.name = "find",
         .arguments = {"NAME", "TEXT"},
         .options = {options::Field, options::Word},
         .opens = Opens::Base,
         .help = "games whose fields hold TEXT (any case; F: Name, Drname, Analog,\n"
                 "Publisher, Developer, Year, Genre, Type, Text1..Text4, File, Any);\n"
                 "prints POSITION<TAB>N<TAB>NAME<TAB>FIELD per match",
         .run = findGames},
        {.name = "pictures",
         .arguments = {"NAME", "FOLDER"},
         .options = {options::Slot, options::DryRun},
         .opens = Opens::Base,
         .help = "bring in the pictures of a collection named after the games (FOLDER,\n"
                 "its Named_Boxarts, Named_Snaps, Named_Titles) into empty Image fields",
         .run = addPictures},
        {.name = "dat",
         .arguments = {"NAME", "FILE..."},
         .lastRepeats = true,
         .options = {options::DryRun},
         .opens = Opens::Base,
         .help = "fill the game table from a No-Intro DAT and its metadata files;\n"
                 "--dry-run prints what would change and writes nothing",
         .run = importDat},
        {.name = "history",
         .arguments = {"NAME"},
         .options = {},
         .help = "the base's restore points, newest first:\n"
                 "ID<TAB>TIME<TAB>WHAT<TAB>GAMES<TAB>PATCHES",
         .run = listPoints},
        {.name = "restore",
         .arguments = {"NAME", "ID"},
         .options = {options::DryRun},
         .opens = Opens::ForRestore,
         .help = "put both tables back as at the restore point ID and take back what\n"
                 "the commands since did to pictures (a point is taken first);\n"
                 "--dry-run prints what it would do and changes nothing",
         .run = restorePoint},
        {.name = "identify",
         .arguments = {"FILE..."},
         .lastRepeats = true,
         .options = {},
         .help = "picture sizes as the program decodes them",
         .run = identify},
    };
    return table;
}

} // namespace gamarium::cli
