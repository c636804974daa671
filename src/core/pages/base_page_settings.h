#pragma once

#include "core/files/files.h"
#include "core/pages/page_settings.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace gamarium::pages {

// What the page generator keeps for each base between runs of the program:
// the template and settings of its last run, and whatever else a window
// wants to find again for that base. Kept in generator.ini of the program
// folder: a section "[name]" for each base (its name in small letters),
// then "key=value" lines, all UTF-8; a backslash, CR and LF in a value are
// written "\\", "\r" and "\n".
class BasePageSettings {
public:
    // Reads the file; a missing or unreadable one holds nothing.
    BasePageSettings(files::Path home, std::string_view base);

    std::optional<std::string> value(std::string_view key) const;
    void set(std::string_view key, std::string_view value);
    // Writes the whole file, the other bases' sections as they were read;
    // throws Error when it cannot be written.
    void save() const;

private:
    files::Path file_;
    std::string section_;
    std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> sections_;
};

// The run of the generator last made for a base: its template file, the
// settings that shape a page and the folder it wrote the pages into (the
// default one until a run named it).
struct RememberedRun {
    files::Path templateFile;
    PageSettings settings;
};
std::optional<RememberedRun> rememberedRun(const files::Path& home, std::string_view base);
// Keeps the template file and settings of a run; a file that cannot be
// written only means that nothing is remembered.
void rememberRun(const files::Path& home, std::string_view base, const files::Path& templateFile,
                 const PageSettings& settings);

} // namespace gamarium::pages
