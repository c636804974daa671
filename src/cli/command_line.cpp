#include "cli/command_line.h"

#include "cli/command.h"
#include "core/files/system.h"
#include "core/store/catalogue.h"

#include <algorithm>
#include <optional>

namespace gamarium::cli {

namespace {

constexpr std::size_t kHelpColumn = 32;

std::string usageLine(const Command& command) {
    std::string line(command.name);
    for (std::string_view argument : command.arguments) (line += ' ') += argument;
    for (const Option& option : command.options) {
        line += " [" + std::string(option.name);
        if (!option.valueName.empty()) (line += ' ') += option.valueName;
        line += option.repeats ? "]..." : "]";
    }
    return line;
}

// The help text's lines, each starting at the help column.
std::string helpLines(std::string_view help) {
    std::string lines;
    std::size_t start = 0;
    while (start <= help.size()) {
        const std::size_t end = std::min(help.find('\n', start), help.size());
        if (!lines.empty()) lines += std::string(kHelpColumn, ' ');
        lines += std::string(help.substr(start, end - start)) + '\n';
        start = end + 1;
    }
    return lines;
}

const Command& findCommand(std::string_view name) {
    const auto& all = commands();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == name; });
    if (it == all.end()) throw UsageError{};
    return *it;
}

const Option& findOption(const Command& command, std::string_view name) {
    const auto it = std::find_if(command.options.begin(), command.options.end(),
                                 [&](const Option& option) { return option.name == name; });
    if (it == command.options.end()) throw UsageError{};
    return *it;
}

// Splits the words after the command name into its arguments and options,
// as the command declares them; "--" ends the options.
void takeWords(const Command& command, const std::vector<std::string>& words, std::size_t from,
               Invocation& invocation) {
    bool optionsEnded = false;
    for (std::size_t i = from; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !word.starts_with("--")) {
            invocation.words.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (const Option& option = findOption(command, word); option.valueName.empty()) {
            if (!invocation.flags.insert(word).second) throw UsageError{};
        } else {
            if (i + 1 >= words.size() || (invocation.values.count(word) && !option.repeats)) throw UsageError{};
            if (option.accepts && !option.accepts(words[i + 1])) throw UsageError{};
            invocation.values[word].push_back(words[++i]);
        }
    }
    const std::size_t count = invocation.words.size(), declared = command.arguments.size();
    if (command.lastRepeats ? count < declared : count != declared) throw UsageError{};
}

files::Path pathOf(const std::string& utf8) {
    return files::Path(std::u8string(utf8.begin(), utf8.end()));
}

int runCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    if (arguments == std::vector<std::string>{"--version"}) {
        out << "gamarium-cli " GAMARIUM_VERSION "\n";
        return 0;
    }
    if (arguments == std::vector<std::string>{"--help"}) {
        out << usageText();
        return 0;
    }
    // Before the command only the program folder may be given.
    std::optional<std::string> home;
    std::size_t at = 0;
    if (at < arguments.size() && arguments[at] == "--home") {
        if (at + 1 >= arguments.size()) throw UsageError{};
        home = arguments[at + 1];
        at += 2;
    }
    if (at >= arguments.size()) throw UsageError{};
    const Command& command = findCommand(arguments[at]);
    Invocation invocation{
        .home = home ? pathOf(*home) : store::programFolder(files::executableFolder()),
        .words = {}, .flags = {}, .values = {}, .out = out, .err = err,
    };
    takeWords(command, arguments, at + 1, invocation);
    return command.run(invocation);
}

} // namespace

std::string usageText() {
    std::string text =
        "usage: gamarium-cli [--home DIR] COMMAND ... [--] [ARGUMENT ...]\n"
        "       gamarium-cli --version | --help\n";
    for (const Command& command : commands()) {
        std::string line = "  " + usageLine(command);
        if (line.size() + 2 > kHelpColumn)
            line += '\n' + std::string(kHelpColumn, ' ');
        else
            line.resize(kHelpColumn, ' ');
        text += line + helpLines(command.help);
    }
    return text + "  --  ends the options: a base named \"-x\" is given as -- -x\n";
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    try {
        return runCommand(arguments, out, err);
    } catch (const UsageError&) {
        err << usageText();
        return 2;
    } catch (const std::bad_alloc&) {
        err << "gamarium-cli: недостаточно памяти\n";
        return 1;
    } catch (const std::exception& e) {
        out.flush();
        err << "gamarium-cli: " << e.what() << '\n';
        return 1;
    }
}

} // namespace gamarium::cli
