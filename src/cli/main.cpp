// gamarium-cli: batch commands on the bases of a program folder, through the
// same core functions the windows use. Exit code 0 on success, 1 with a
// one-line message on failure, 2 on wrong usage.
#include "error.h"
#include "files/executable.h"
#include "identify_command.h"
#include "store/catalogue.h"
#include "store/table.h"
#include "store/table_transfer.h"
#include "text/cp1251.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace gamarium;

constexpr const char* kUsage =
    "usage: gamarium-cli [--home DIR] COMMAND ...\n"
    "  list                          the base names, one per line\n"
    "  create NAME [--replace]       create a base (an existing one only with --replace)\n"
    "  empty NAME                    empty both tables of a base\n"
    "  export NAME [--patches]       write the game (or patch) table as CSV to standard output\n"
    "  import NAME FILE [--patches]  append the rows of a CSV file to the game (or patch) table\n"
    "  identify FILE...              picture sizes as the program decodes them\n";

struct UsageError {};

// The words of the command line and the flags given with them.
struct Arguments {
    std::vector<std::string> words;
    std::vector<std::string> flags;

    bool takeFlag(const std::string& flag) {
        const auto it = std::find(flags.begin(), flags.end(), flag);
        if (it == flags.end()) return false;
        flags.erase(it);
        return true;
    }
    void expect(std::size_t count) const {
        if (words.size() != count || !flags.empty()) throw UsageError{};
    }
};

files::Path pathArgument(const std::string& utf8) {
    return files::Path(std::u8string(utf8.begin(), utf8.end()));
}

// The table a command works on, opened.
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
    store::createBase(home, base);
    std::vector<std::string> names = store::listBases(home);
    std::erase_if(names, [&](const std::string& name) { return text::equalNoCase(name, base); });
    names.push_back(base);
    store::writeBasesList(home, names);
    return 0;
}

int emptyCommand(const files::Path& home, Arguments& args) {
    args.expect(2);
    store::emptyBase(home, text::fromUtf8(args.words[1]));
    return 0;
}

int exportCommand(const files::Path& home, Arguments& args) {
    const bool patches = args.takeFlag("--patches");
    args.expect(2);
    OpenTable open(home, args.words[1], patches);
    store::exportCsv(open.table, std::cout);
    std::cout.flush();
    if (!std::cout) throw Error("не удалось записать в стандартный вывод");
    return 0;
}

int importCommand(const files::Path& home, Arguments& args) {
    const bool patches = args.takeFlag("--patches");
    args.expect(3);
    const std::string document = files::readFile(pathArgument(args.words[2]));
    OpenTable open(home, args.words[1], patches);
    store::importCsv(open.table, document);
    return 0;
}

int run(const std::vector<std::string>& argv) {
    std::optional<files::Path> homeOption;
    Arguments args;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        if (argv[i] == "--home") {
            if (i + 1 >= argv.size()) throw UsageError{};
            homeOption = pathArgument(argv[++i]);
        } else if (argv[i].starts_with("--")) {
            args.flags.push_back(argv[i]);
        } else {
            args.words.push_back(argv[i]);
        }
    }
    if (args.words.empty()) throw UsageError{};
    const files::Path home = homeOption ? *homeOption : store::programFolder(files::executableFolder());
    const std::string& command = args.words.front();
    if (command == "list") return listCommand(home, args);
    if (command == "create") return createCommand(home, args);
    if (command == "empty") return emptyCommand(home, args);
    if (command == "export") return exportCommand(home, args);
    if (command == "import") return importCommand(home, args);
    if (command == "identify") {
        if (args.words.size() < 2 || !args.flags.empty()) throw UsageError{};
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
    } catch (const std::exception& e) {
        std::cerr << "gamarium-cli: " << e.what() << '\n';
        return 1;
    }
}
