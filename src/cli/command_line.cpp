#include "cli/command_line.h"

#include "cli/command.h"
#include "core/files/system.h"
#include "core/store/catalogue.h"
#include "core/text/exact_conversion.h"
#include "core/text/printable.h"

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

// An argument named with alternatives ("names|pictures") takes one of them;
// any other takes every word.
bool isOneOf(std::string_view argument, std::string_view word) {
    if (argument.find('|') == std::string_view::npos) return true;
    for (std::size_t start = 0;;) {
        const std::size_t end = argument.find('|', start);
        if (argument.substr(start, end - start) == word) return true;
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

const Command& findCommand(std::string_view name) {
    const auto& all = commands();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == name; });
    if (it == all.end()) throw UsageError{"нет команды " + text::quoted(name)};
    return *it;
}

const Option& findOption(const Command& command, std::string_view name) {
    const auto it = std::find_if(command.options.begin(), command.options.end(),
                                 [&](const Option& option) { return option.name == name; });
    if (it == command.options.end())
        throw UsageError{"у команды " + std::string(command.name) + " нет ключа " + text::quoted(name)};
    return *it;
}

// A word of the command as a person would type it again.
std::string typedWord(const std::string& word) {
    return word.find_first_of(" \t") == std::string::npos && !word.empty() ? word : "\"" + word + "\"";
}

// Splits the words after the command name into its arguments and options,
// as the command declares them; "--" ends the options.
void takeWords(const Command& command, const std::vector<std::string>& words, std::size_t from,
               Invocation& invocation) {
    const auto nameAt = std::find(command.arguments.begin(), command.arguments.end(), "NAME");
    const auto baseWord = static_cast<std::size_t>(nameAt - command.arguments.begin());
    invocation.what = std::string(command.name);
    const auto tell = [&](const std::string& word) { invocation.what += " " + typedWord(word); };
    bool optionsEnded = false;
    for (std::size_t i = from; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !word.starts_with("--")) {
            if (invocation.words.size() != baseWord) tell(word);
            invocation.words.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (const Option& option = findOption(command, word); option.valueName.empty()) {
            if (!invocation.flags.insert(word).second) throw UsageError{word + " дан дважды"};
            tell(word);
        } else {
            if (i + 1 >= words.size()) throw UsageError{word + " без значения"};
            if (invocation.values.count(word) && !option.repeats) throw UsageError{word + " дан дважды"};
            if (option.accepts && !option.accepts(words[i + 1]))
                throw UsageError{word + ": значение " + text::quoted(words[i + 1]) + " не подходит"};
            invocation.values[word].push_back(words[++i]);
            tell(word);
            tell(words[i]);
        }
    }
    const std::size_t count = invocation.words.size(), declared = command.arguments.size();
    if (command.lastRepeats ? count < declared : count != declared)
        throw UsageError{std::string(command.name) + ": дано слов " + std::to_string(count) + ", нужно " +
                         (command.lastRepeats ? "не меньше " : "") + std::to_string(declared)};
    for (std::size_t i = 0; i < declared; ++i)
        if (!isOneOf(command.arguments[i], invocation.words[i]))
            throw UsageError{std::string(command.name) + ": нет такого " + text::quoted(invocation.words[i]) +
                             ", есть " + std::string(command.arguments[i])};
    for (const Option& option : command.options)
        if (!option.onlyFor.empty() && invocation.words.front() != option.onlyFor &&
            (invocation.isSet(option) || invocation.value(option)))
            throw UsageError{std::string(option.name) + " бывает только у " + std::string(command.name) + " " +
                             std::string(option.onlyFor)};
}

// Opens what the command works on, as the command table says.
void openFor(const Command& command, Invocation& invocation) {
    if (command.opens == Opens::Nothing) return;
    const auto nameAt = std::find(command.arguments.begin(), command.arguments.end(), "NAME");
    const std::string base = text::toStoredText(invocation.words.at(nameAt - command.arguments.begin())).bytes();
    switch (command.opens) {
    case Opens::Nothing: return;
    case Opens::Base: invocation.opened = std::make_unique<session::BaseSession>(invocation.home, base); return;
    case Opens::ChosenTable:
        invocation.opened = std::make_unique<session::BaseSession>(invocation.home, base, invocation.chosenTable());
        return;
    case Opens::ForRestore:
        invocation.opened = std::make_unique<session::BaseSession>(invocation.home, base, session::BaseSession::ForRestore{});
        return;
    }
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
        .what = {}, .words = {}, .flags = {}, .values = {}, .out = out, .err = err, .opened = {},
    };
    takeWords(command, arguments, at + 1, invocation);
    openFor(command, invocation);
    const int code = command.run(invocation);
    if (invocation.opened)
        for (const std::string& line : invocation.opened->droppedPoints()) out << line << '\n';
    return code;
}

} // namespace

std::string usageText() {
    std::string text =
        "вызов: gamarium-cli [--home DIR] COMMAND ... [--] [ARGUMENT ...]\n"
        "       gamarium-cli --version | --help\n";
    for (const Command& command : commands()) {
        std::string line = "  " + usageLine(command);
        if (line.size() + 2 > kHelpColumn)
            line += '\n' + std::string(kHelpColumn, ' ');
        else
            line.resize(kHelpColumn, ' ');
        text += line + helpLines(command.help);
    }
    return text + "  --  конец ключей: база с именем «-x» даётся как -- -x\n";
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    try {
        return runCommand(arguments, out, err);
    } catch (const UsageError& wrong) {
        if (!wrong.reason.empty()) err << "gamarium-cli: " << wrong.reason << '\n';
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
