#include "cli/pages_command.h"

#include "core/pages/generator.h"
#include "core/pages/report_line.h"
#include "core/text/exact_conversion.h"

namespace gamarium::cli {

namespace {

pages::PageSettings pageSettings(const Invocation& invocation) {
    pages::PageSettings settings;
    if (const auto perPage = invocation.value("--per-page")) settings.gamesPerPage = pages::gamesPerPageFromText(*perPage);
    const std::pair<const char*, std::string*> paths[] = {
        {"--patch-path", &settings.block.russianPatchPath},
        {"--ext-patch-path", &settings.block.otherPatchPath},
        {"--image-path", &settings.block.imagePath},
    };
    for (const auto& [option, path] : paths)
        if (const auto value = invocation.value(option)) *path = text::toStoredText(*value);
    return settings;
}

} // namespace

int writePages(Invocation& invocation) {
    const std::string& base = invocation.words[0];
    pages::PageSettings settings = pageSettings(invocation);
    settings.outputFolder = invocation.path(invocation.words[2]);
    const pages::PageTemplate pageTemplate = pages::loadTemplate(invocation.path(invocation.words[1]));
    const auto session = invocation.openBase(base);
    std::ostream& err = invocation.err;
    const pages::GeneratorCallbacks callbacks{
        .messages = [&err](const std::string& message) { err << message << std::endl; },
        .progress = {},
    };
    const pages::GenerationReport report = pages::generatePages(session->games(), session->patches(), session->home(),
                                                                session->baseName(), pageTemplate, settings, callbacks);
    if (report.refused) return 1;
    invocation.out << pages::reportLine(report) << '\n';
    return 0;
}

} // namespace gamarium::cli
