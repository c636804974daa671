#include "core/pages/base_page_settings.h"

#include "core/error.h"
#include "core/text/cp1251.h"

namespace gamarium::pages {
namespace {

std::string escaped(std::string_view value) {
    std::string text;
    for (const char c : value) {
        switch (c) {
        case '\\': text += "\\\\"; break;
        case '\r': text += "\\r"; break;
        case '\n': text += "\\n"; break;
        default: text += c;
        }
    }
    return text;
}

std::string unescaped(std::string_view text) {
    std::string value;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            value += text[i];
            continue;
        }
        const char next = text[++i];
        value += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return value;
}

std::string utf8(const files::Path& path) {
    const auto bytes = path.u8string();
    return std::string(bytes.begin(), bytes.end());
}

files::Path fromUtf8Path(std::string_view text) {
    return files::Path(std::u8string(text.begin(), text.end()));
}

constexpr std::string_view kTemplate = "template", kPerPage = "per-page", kPatchPath = "patch-path",
                           kOtherPatchPath = "ext-patch-path", kImagePath = "image-path", kOutput = "output";

} // namespace

BasePageSettings::BasePageSettings(files::Path home, std::string_view base)
    : file_(home / "generator.ini"), section_(text::toUtf8(text::StoredText::fromCp1251(text::lower(base)))) {
    std::string bytes;
    try {
        bytes = files::readFile(file_, std::size_t{16} << 20);
    } catch (const Error&) {
        return;
    }
    std::map<std::string, std::string, std::less<>>* current = nullptr;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string::npos)
            end = bytes.size();
        std::string_view line(bytes.data() + at, end - at);
        at = end + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
            current = &sections_[std::string(line.substr(1, line.size() - 2))];
        else if (current && equals != std::string_view::npos)
            (*current)[std::string(line.substr(0, equals))] = unescaped(line.substr(equals + 1));
    }
}

std::optional<std::string> BasePageSettings::value(std::string_view key) const {
    const auto section = sections_.find(section_);
    if (section == sections_.end())
        return std::nullopt;
    const auto found = section->second.find(key);
    if (found == section->second.end())
        return std::nullopt;
    return found->second;
}

void BasePageSettings::set(std::string_view key, std::string_view value) {
    sections_[section_][std::string(key)] = std::string(value);
}

void BasePageSettings::save() const {
    std::string text;
    for (const auto& [section, values] : sections_) {
        text += "[" + section + "]\r\n";
        for (const auto& [key, value] : values)
            text += key + "=" + escaped(value) + "\r\n";
    }
    files::writeFileReplacing(file_, text);
}

std::optional<RememberedRun> rememberedRun(const files::Path& home, std::string_view base) {
    const BasePageSettings kept(home, base);
    const auto templateFile = kept.value(kTemplate);
    if (!templateFile)
        return std::nullopt;
    const auto cp1251 = [&](std::string_view key) -> std::optional<std::string> {
        if (const auto value = kept.value(key))
            return text::fromUtf8(*value).bytes();
        return std::nullopt;
    };
    RememberedRun run{.templateFile = fromUtf8Path(*templateFile), .settings = {}};
    try {
        run.settings = pageSettingsFrom({.gamesPerPage = cp1251(kPerPage),
                                         .russianPatchPath = cp1251(kPatchPath),
                                         .otherPatchPath = cp1251(kOtherPatchPath),
                                         .imagePath = cp1251(kImagePath)});
    } catch (const Error&) {
        // A number spoilt by hand: the defaults serve.
    }
    const auto output = kept.value(kOutput);
    run.settings.outputFolder = output ? fromUtf8Path(*output) : defaultOutputFolder(home);
    return run;
}

void rememberRun(const files::Path& home, std::string_view base, const files::Path& templateFile,
                 const PageSettings& settings) {
    BasePageSettings kept(home, base);
    kept.set(kTemplate, utf8(std::filesystem::absolute(templateFile)));
    kept.set(kPerPage, std::to_string(settings.gamesPerPage));
    kept.set(kPatchPath, text::toUtf8(text::StoredText::fromCp1251(settings.block.russianPatchPath)));
    kept.set(kOtherPatchPath, text::toUtf8(text::StoredText::fromCp1251(settings.block.otherPatchPath)));
    kept.set(kImagePath, text::toUtf8(text::StoredText::fromCp1251(settings.block.imagePath)));
    kept.set(kOutput, utf8(std::filesystem::absolute(settings.outputFolder)));
    try {
        kept.save();
    } catch (const Error&) {
        // Only the remembering is lost.
    }
}

} // namespace gamarium::pages
