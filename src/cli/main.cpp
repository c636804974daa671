// gamarium-cli: batch commands on the bases of a program folder, through the
// same core functions the windows use. Exit code 0 on success, 1 with a
// one-line message on failure, 2 on wrong usage.
#include "editor/quick_jump.h"
#include "error.h"
#include "pictures/picture_folder.h"
#include "tools/checks.h"
#include "tools/light.h"
#include "tools/merge.h"
#include "tools/rename.h"
#include "tools/renumber.h"
#include "files/system.h"
#include "find_command.h"
#include "identify_command.h"
#include "orphans_command.h"
#include "pictures_command.h"
#include "pages/generator.h"
#include "pages/report_line.h"
#include "store/base_conversion.h"
#include "store/catalogue.h"
#include "store/table.h"
#include "store/table_transfer.h"
#include "text/cp1251.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace gamarium;

constexpr const char* kUsage =
    "usage: gamarium-cli [--home DIR] COMMAND ... [--] [ARGUMENT ...]\n"
    "       gamarium-cli --version | --help\n"
    "  list                          the base names, one per line\n"
    "  create NAME [--replace]       create a base (an existing one only with --replace)\n"
    "  empty NAME                    empty both tables of a base\n"
    "  convert NAME                  convert the base's old Paradox tables into the program's own, moving\n"
    "                                the old files into base/paradox/; one line per table converted\n"
    "  export NAME [--patches] [--encoding utf8|cp1251] [--delimiter C]\n"
    "                                write the game (or patch) table as CSV to standard output\n"
    "  import NAME FILE [--patches] [--encoding utf8|cp1251] [--delimiter C] [--cut]\n"
    "                                append the rows of a CSV file to the game (or patch) table;\n"
    "                                --cut cuts texts longer than their field instead of refusing\n"
    "  jump NAME TEXT                the quick jump from the first game: a position, or the start of a\n"
    "                                name; prints POSITION<TAB>NAME of the game it lands on\n"
    "  renumber NAME                 give every game its position as N\n"
    "  check names|pictures|picture-names NAME\n"
    "                                names out of order, missing pictures, pictures named unlike the game\n"
    "  check orphans NAME [--move]   picture files no record names, folders no record uses, pictures\n"
    "                                stored twice; --move moves the first into images/NAME/_orphans/\n"
    "  rename NAME POSITION NEWNAME  rename the game at that position (1-based, in table order),\n"
    "                                moving it to its place by name and its pictures to the new folder\n"
    "  light NAME                    copy each game's first picture into images/NAME/light/\n"
    "  merge NAME LISTFILE           append the games of a game list file (Windows-1251, \"name;region\")\n"
    "  pages NAME TEMPLATE OUTDIR [--per-page N] [--patch-path P] [--ext-patch-path P] [--image-path P]\n"
    "                                write the site's pages from a .htd template into OUTDIR as the\n"
    "                                generator window does (its defaults: 11, ../../patch/snes/,\n"
    "                                ../../patch/snes/ext/, i/); messages go to standard error\n"
    "  find NAME TEXT [--field F]... [--word]\n"
    "                                games whose fields hold TEXT (any case; F: Name, Drname, Analog,\n"
    "                                Publisher, Developer, Year, Genre, Type, Text1..Text4, File, Any);\n"
    "                                prints POSITION<TAB>N<TAB>NAME<TAB>FIELD per match\n"
    "  pictures NAME FOLDER [--slot 1..5] [--dry-run]\n"
    "                                bring in the pictures of a collection named after the games (FOLDER,\n"
    "                                its Named_Boxarts, Named_Snaps, Named_Titles) into empty Image fields\n"
    "  identify FILE...              picture sizes as the program decodes them\n"
    "  --  ends the options: a base named \"-x\" is given as -- -x\n";

// Larger CSV files are refused rather than read into memory.
constexpr std::size_t kLargestCsvFile = std::size_t{512} << 20;

struct UsageError {};

// The words of the command line and the options given with them.
struct Arguments {
    std::vector<std::string> words;
    std::vector<std::string> flags;
    std::multimap<std::string, std::string> values; // --field may repeat

    bool takeFlag(const std::string& flag) {
        const auto it = std::find(flags.begin(), flags.end(), flag);
        if (it == flags.end()) return false;
        flags.erase(it);
        return true;
    }
    std::optional<std::string> takeValue(const std::string& option) {
        const auto it = values.find(option);
        if (it == values.end()) return std::nullopt;
        std::string value = it->second;
        values.erase(it);
        return value;
    }
    void expect(std::size_t count) const {
        if (words.size() != count || !flags.empty() || !values.empty()) throw UsageError{};
    }
};

// Options that take a value, as "--option VALUE".
bool takesValue(const std::string& option) {
    return option == "--home" || option == "--encoding" || option == "--delimiter" || option == "--per-page" ||
           option == "--patch-path" || option == "--ext-patch-path" || option == "--image-path" || option == "--field" ||
           option == "--slot";
}

Arguments parseArguments(const std::vector<std::string>& argv) {
    Arguments args;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& word = argv[i];
        if (optionsEnded || !word.starts_with("--")) {
            args.words.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (takesValue(word)) {
            if (i + 1 >= argv.size() || (args.values.count(word) && word != "--field")) throw UsageError{};
            args.values.emplace(word, argv[++i]);
        } else {
            args.flags.push_back(word);
        }
    }
    return args;
}

store::CsvFormat csvFormat(Arguments& args) {
    store::CsvFormat format;
    if (const auto encoding = args.takeValue("--encoding")) {
        if (*encoding == "cp1251")
            format.encoding = store::CsvFormat::Encoding::Cp1251;
        else if (*encoding != "utf8" && *encoding != "utf-8")
            throw UsageError{};
    }
    if (const auto delimiter = args.takeValue("--delimiter")) {
        if (delimiter->size() != 1 || std::string_view("\"\r\n").find(delimiter->front()) != std::string_view::npos)
            throw UsageError{};
        format.delimiter = delimiter->front();
    }
    return format;
}

files::Path pathArgument(const std::string& utf8) {
    return files::Path(std::u8string(utf8.begin(), utf8.end()));
}

// The table a command works on, opened; the base name is checked on the way.
struct OpenTable {
    store::Table table;
    OpenTable(const files::Path& home, const std::string& base, bool patches)
        : table(store::basesFolder(home), patches ? store::patchTableName(text::fromUtf8(base))
                                                  : store::gameTableName(text::fromUtf8(base))) {
        table.open();
    }
};

int listCommand(const files::Path& home, Arguments& args) {
    args.expect(1);
    store::prepareFolders(home);
    for (const std::string& name : store::listBases(home)) std::cout << text::toUtf8(name) << '\n';
    return 0;
}

int createCommand(const files::Path& home, Arguments& args) {
    const bool replace = args.takeFlag("--replace");
    args.expect(2);
    const std::string base = text::fromUtf8(args.words[1]);
    store::validateBaseName(base);
    store::prepareFolders(home);
    if (!replace && store::baseExists(home, base))
        throw Error("база «" + args.words[1] + "» уже есть; --replace заменит её таблицы пустыми");
    const std::string created = store::createBase(home, base, replace);
    // The list of bases as the window would have it: those found, the new one last.
    std::vector<std::string> names = store::findBases(home);
    std::erase_if(names, [&](const std::string& name) { return text::equalNoCase(name, created); });
    names.push_back(created);
    store::writeBasesList(home, names);
    store::makePictureFolder(home, created);
    return 0;
}

int emptyCommand(const files::Path& home, Arguments& args) {
    args.expect(2);
    store::emptyBase(home, text::fromUtf8(args.words[1]));
    return 0;
}

int convertCommand(const files::Path& home, Arguments& args) {
    args.expect(2);
    const store::BaseConversion result = store::convertBase(home, text::fromUtf8(args.words[1]));
    for (const store::TableConversion& table : result.tables) std::cout << store::reportLine(table) << '\n';
    return 0;
}

int exportCommand(const files::Path& home, Arguments& args) {
    const bool patches = args.takeFlag("--patches");
    const store::CsvFormat format = csvFormat(args);
    args.expect(2);
    OpenTable open(home, args.words[1], patches);
    store::exportCsv(open.table, std::cout, format);
    std::cout.flush();
    if (!std::cout) throw Error("не удалось записать в стандартный вывод");
    return 0;
}

int importCommand(const files::Path& home, Arguments& args) {
    store::ImportOptions options;
    const bool patches = args.takeFlag("--patches");
    options.cutToFieldSize = args.takeFlag("--cut");
    options.format = csvFormat(args);
    args.expect(3);
    OpenTable open(home, args.words[1], patches);
    const std::string document = files::readFile(pathArgument(args.words[2]), kLargestCsvFile);
    const store::ImportResult result = store::importCsv(open.table, document, options);
    if (options.cutToFieldSize) std::cout << "обрезано текстов: " << result.cut << '\n';
    return 0;
}

int jumpCommand(const files::Path& home, Arguments& args) {
    args.expect(3);
    OpenTable open(home, args.words[1], false);
    editor::quickJump(open.table, text::fromUtf8(args.words[2]));
    std::cout << open.table.recordNumber() << '\t' << text::toUtf8(open.table.fieldByName("Name").asString()) << '\n';
    return 0;
}

// Lines the window adds to its status memo, as the terminal shows them.
void printStatus(const std::string& cp1251) {
    std::string lines;
    for (const std::string& line : tools::listLines(cp1251)) lines += text::toUtf8(line) + '\n';
    std::cout << (lines.empty() ? std::string("\n") : lines);
}

files::Path basePictures(const files::Path& home, const std::string& base) {
    return pictures::basePictureFolder(home, text::fromUtf8(base));
}

int renumberCommand(const files::Path& home, Arguments& args) {
    args.expect(2);
    OpenTable open(home, args.words[1], false);
    tools::renumber(open.table);
    printStatus(text::fromUtf8("Ренумерация завершена!"));
    return 0;
}

int checkCommand(const files::Path& home, Arguments& args) {
    const bool move = args.takeFlag("--move");
    args.expect(3);
    const std::string& which = args.words[1];
    if (which == "orphans") return cli::runOrphanCheck(home, args.words[2], move, std::cout);
    if (move) throw UsageError{};
    OpenTable open(home, args.words[2], false);
    if (which == "names")
        tools::checkNames(open.table, printStatus);
    else if (which == "pictures")
        tools::checkPictures(open.table, basePictures(home, args.words[2]), printStatus);
    else if (which == "picture-names")
        tools::checkPictureNames(open.table, printStatus);
    else
        throw UsageError{};
    return 0;
}

int renameCommand(const files::Path& home, Arguments& args) {
    args.expect(4);
    OpenTable open(home, args.words[1], false);
    const std::string& positionText = args.words[2];
    int position = 0;
    const auto [end, ec] = std::from_chars(positionText.data(), positionText.data() + positionText.size(), position);
    if (ec != std::errc() || end != positionText.data() + positionText.size() || position < 1 ||
        position > open.table.recordCount())
        throw Error("нет игры на месте " + positionText + " (в таблице " + std::to_string(open.table.recordCount()) +
                    " игр)");
    open.table.moveToPosition(position);
    const tools::RenameResult result =
        tools::renameGame(open.table, basePictures(home, args.words[1]), text::fromUtf8(args.words[3]));
    if (result.oldSid != result.newSid) printStatus(tools::movedPicturesMessage(result));
    printStatus(text::fromUtf8("Переименование закончено!"));
    const bool allMoved = std::all_of(result.pictures.begin(), result.pictures.end(),
                                      [](const tools::PictureMove& move) { return move.problem.empty(); });
    if (!allMoved) throw Error("игра переименована, но не все картинки перемещены");
    return 0;
}

int lightCommand(const files::Path& home, Arguments& args) {
    args.expect(2);
    OpenTable open(home, args.words[1], false);
    tools::makeLightSet(open.table, basePictures(home, args.words[1]), printStatus);
    return 0;
}

int mergeCommand(const files::Path& home, Arguments& args) {
    args.expect(3);
    OpenTable open(home, args.words[1], false);
    const std::string list = files::readFile(pathArgument(args.words[2]), kLargestCsvFile);
    if (!list.empty()) printStatus(list);
    tools::mergeList(open.table, list, printStatus);
    return 0;
}

// The generator window's settings, each option in place of its box.
pages::PageSettings pageSettings(Arguments& args) {
    pages::PageSettings settings;
    if (const auto perPage = args.takeValue("--per-page")) settings.gamesPerPage = pages::gamesPerPageFromText(*perPage);
    const std::pair<const char*, std::string*> paths[] = {
        {"--patch-path", &settings.block.russianPatchPath},
        {"--ext-patch-path", &settings.block.otherPatchPath},
        {"--image-path", &settings.block.imagePath},
    };
    for (const auto& [option, path] : paths)
        if (const auto value = args.takeValue(option)) *path = text::fromUtf8(*value);
    return settings;
}

int pagesCommand(const files::Path& home, Arguments& args) {
    pages::PageSettings settings = pageSettings(args);
    args.expect(4);
    settings.outputFolder = text::fromUtf8(args.words[3]);
    const pages::PageTemplate pageTemplate = pages::loadTemplate(pathArgument(args.words[2]));
    OpenTable games(home, args.words[1], false);
    OpenTable patches(home, args.words[1], true);
    const pages::GeneratorCallbacks callbacks{
        .messages = [](const std::string& message) { std::cerr << message << std::endl; },
        .progress = {},
    };
    const pages::GenerationReport report = pages::generatePages(
        games.table, patches.table, home, text::fromUtf8(args.words[1]), pageTemplate, settings, callbacks);
    if (report.refused) return 1;
    std::cout << pages::reportLine(report) << '\n';
    return 0;
}

int run(const std::vector<std::string>& argv) {
    if (argv == std::vector<std::string>{"--version"}) {
        std::cout << "gamarium-cli " GAMARIUM_VERSION "\n";
        return 0;
    }
    if (argv == std::vector<std::string>{"--help"}) {
        std::cout << kUsage;
        return 0;
    }
    Arguments args = parseArguments(argv);
    const std::optional<std::string> homeOption = args.takeValue("--home");
    if (args.words.empty()) throw UsageError{};
    const files::Path home = homeOption ? pathArgument(*homeOption) : store::programFolder(files::executableFolder());
    const std::string& command = args.words.front();
    if (command == "list") return listCommand(home, args);
    if (command == "create") return createCommand(home, args);
    if (command == "empty") return emptyCommand(home, args);
    if (command == "convert") return convertCommand(home, args);
    if (command == "export") return exportCommand(home, args);
    if (command == "import") return importCommand(home, args);
    if (command == "jump") return jumpCommand(home, args);
    if (command == "renumber") return renumberCommand(home, args);
    if (command == "check") return checkCommand(home, args);
    if (command == "rename") return renameCommand(home, args);
    if (command == "light") return lightCommand(home, args);
    if (command == "merge") return mergeCommand(home, args);
    if (command == "pages") return pagesCommand(home, args);
    if (command == "find") {
        std::vector<std::string> fields;
        while (const auto field = args.takeValue("--field")) fields.push_back(*field);
        const bool wholeWord = args.takeFlag("--word");
        args.expect(3);
        return cli::runFind(home, args.words[1], args.words[2], fields, wholeWord, std::cout);
    }
    if (command == "pictures") {
        const auto slot = args.takeValue("--slot");
        const bool dryRun = args.takeFlag("--dry-run");
        args.expect(3);
        return cli::runPictures(home, args.words[1], args.words[2], slot, dryRun, std::cout);
    }
    if (command == "identify") {
        if (args.words.size() < 2 || !args.flags.empty() || !args.values.empty()) throw UsageError{};
        return cli::runIdentify({args.words.begin() + 1, args.words.end()}, std::cout, std::cerr);
    }
    throw UsageError{};
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError&) {
        std::cerr << kUsage;
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "gamarium-cli: недостаточно памяти\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "gamarium-cli: " << e.what() << '\n';
        return 1;
    }
}
