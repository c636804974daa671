#include "cli/pages_command.h"

#include "cli/options.h"
#include "core/pages/base_page_settings.h"
#include "core/pages/generator.h"
#include "core/pages/preview_target.h"
#include "core/pages/report_line.h"
#include "core/text/exact_conversion.h"

namespace gamarium::cli {

namespace {

pages::PageSettings pageSettings(const Invocation& invocation) {
    const auto typed = [&](const Option& option) -> std::optional<std::string> {
        if (const auto value = invocation.value(option)) return text::toStoredText(*value).bytes();
        return std::nullopt;
    };
    pages::PageSettings settings = pages::pageSettingsFrom({.gamesPerPage = typed(options::PerPage),
                                                            .russianPatchPath = typed(options::PatchPath),
                                                            .otherPatchPath = typed(options::ExtPatchPath),
                                                            .imagePath = typed(options::ImagePath)});
    if (const auto siteUrl = invocation.value(options::SiteUrl)) settings.siteUrl = *siteUrl;
    return settings;
}

pages::MessageSink messagesTo(std::ostream& err) {
    return [&err](const std::string& message) { err << message << std::endl; };
}

} // namespace

int writePreview(Invocation& invocation) {
    const pages::PageSettings settings = pageSettings(invocation);
    const files::Path templateFile = invocation.path(invocation.words[2]);
    const files::Path outFile = invocation.path(invocation.words[3]);
    pages::checkPreviewTarget(invocation.home, templateFile, outFile, invocation.isSet(options::Force));
    const pages::PageTemplate pageTemplate = pages::loadTemplate(templateFile);
    session::BaseSession& session = invocation.base();
    const int position = positionArgument(invocation.words[1], session.games());
    const auto links = invocation.value(options::ImagePath) ? pages::PictureLinks::Site : pages::PictureLinks::Files;
    if (!pages::previewPage(session.games(), session.patches(), session.home(), session.baseName(), pageTemplate,
                            settings, position, links, outFile, messagesTo(invocation.err)))
        return 1;
    pages::notePreviewWritten(session.home(), outFile);
    return 0;
}

int writePages(Invocation& invocation) {
    pages::PageSettings settings = pageSettings(invocation);
    settings.outputFolder = invocation.path(invocation.words[2]);
    const files::Path templateFile = invocation.path(invocation.words[1]);
    const pages::PageTemplate pageTemplate = pages::loadTemplate(templateFile);
    session::BaseSession& session = invocation.base();
    const pages::GeneratorCallbacks callbacks{.messages = messagesTo(invocation.err), .progress = {}};
    const pages::GenerationReport report = pages::generatePages(session.games(), session.patches(), session.home(),
                                                                session.baseName(), pageTemplate, settings, callbacks);
    if (report.refused) return 1;
    pages::rememberRun(session.home(), session.baseName(), templateFile, settings);
    invocation.out << pages::reportLine(report) << '\n';
    return 0;
}

} // namespace gamarium::cli
