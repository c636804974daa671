#include "core/pages/generator.h"

#include "core/error.h"
#include "core/pages/block.h"
#include "core/pages/output_folder.h"
#include "core/pages/page_list.h"
#include "core/pages/page_set.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>

namespace gamarium::pages {
namespace {

GenerationReport refuse(const MessageSink& messages, const std::string& why) {
    tell(messages, why);
    return {.refused = true};
}

// A key is a game's Sid; one holding a separator would name a page in
// another folder.
void checkKey(const PageSet& set) {
    if (set.key.find_first_of("/\\") != std::string::npos)
        throw Error("Поле Sid «" + text::toUtf8(set.key) + "» не годится для имени страницы. Страницы не созданы.");
}

class SiteWriter {
public:
    SiteWriter(const PageTemplate& pageTemplate, const PageSettings& settings, BlockRenderer& renderer,
               OutputFolder& output, std::string letterlist)
        : template_(pageTemplate), gamesPerPage_(settings.gamesPerPage), renderer_(renderer),
          output_(output) {
        texts_.letterlist = std::move(letterlist);
    }

    void writeSets(const std::vector<const PageSet*>& sets, const ProgressSink& progress) {
        int total = 0;
        for (const PageSet* set : sets)
            total += pageCount(*set, gamesPerPage_);
        int done = 0;
        const auto tellProgress = [&] {
            if (progress)
                progress(done, total);
        };
        tellProgress();
        for (const PageSet* set : sets) {
            const int pages = pageCount(*set, gamesPerPage_);
            const std::string links = pagelinks(set->key, pages);
            texts_.curletter = text::upper(set->key);
            auto next = set->games.begin();
            for (int page = 1; page <= pages; ++page) {
                texts_.pagelist = pagelist(links, set->key, page);
                const auto count = std::min<std::ptrdiff_t>(gamesPerPage_, set->games.end() - next);
                std::string bytes = addnames1(template_.head, texts_);
                for (const auto last = next + count; next != last; ++next) {
                    lastGame_ = *next;
                    bytes += renderer_.addnames(template_.block, *next);
                }
                bytes += addnames1(template_.foot, texts_);
                ++(output_.writePage(pageName(set->key, page) + ".htm", bytes) ? report_.pagesWritten
                                                                                 : report_.pagesUnchanged);
                ++done;
                tellProgress();
            }
        }
    }

    const GenerationReport& report() const { return report_; }
    // The 1-based position of the last game written; 0 before any.
    std::int64_t lastGame() const { return lastGame_; }

private:
    const PageTemplate& template_;
    int gamesPerPage_;
    BlockRenderer& renderer_;
    OutputFolder& output_;
    PageTexts texts_;
    GenerationReport report_;
    std::int64_t lastGame_ = 0;
};

GenerationReport writeSite(store::Table& games, store::Table& patches, const files::Path& home, std::string_view base,
                           const PageTemplate& pageTemplate, const PageSettings& settings,
                           const GeneratorCallbacks& callbacks, OutputFolder& output) {
    const std::vector<GameRecord> gameRecords = readGames(games);
    const std::vector<PatchRecord> patchRecords = readPatches(patches);
    const SiteSets sets = groupGames(gameRecords, patchRecords);
    std::vector<const PageSet*> written;
    for (const PageSet& set : sets.letters)
        written.push_back(&set);
    for (const PageSet* set : {&sets.ru, &sets.dejap})
        if (!set->games.empty())
            written.push_back(set);
    for (const PageSet* set : written)
        checkKey(*set);
    if (const auto clash = pageNameClash(written, settings.gamesPerPage))
        return refuse(callbacks.messages, *clash);
    output.removeTemporaries();

    std::vector<std::int64_t> order;
    for (const PageSet* set : written)
        order.insert(order.end(), set->games.begin(), set->games.end());
    BlockRenderer renderer(gameRecords, patchRecords, std::move(order), settings.block, home, base,
                           callbacks.messages);
    SiteWriter writer(pageTemplate, settings, renderer, output, sets.letterlist);
    writer.writeSets(written, callbacks.progress);
    // The tables are left where the run left off: the record editor shows
    // the last game written.
    games.moveToPosition(writer.lastGame());
    if (renderer.lastPatchPosition() > 0)
        patches.moveToPosition(renderer.lastPatchPosition());
    return writer.report();
}

} // namespace

GenerationReport generatePages(store::Table& games, store::Table& patches, const files::Path& home,
                               std::string_view base, const PageTemplate& pageTemplate, const PageSettings& settings,
                               const GeneratorCallbacks& callbacks) {
    if (pageTemplate.block.empty())
        return refuse(callbacks.messages, "Открой файл сначала!");
    if (settings.gamesPerPage < 1)
        return refuse(callbacks.messages,
                      "Описаний на страницу должно быть не меньше одного. Страницы не созданы.");
    if (games.isEmpty())
        return refuse(callbacks.messages, "В базе нет ни одной игры. Страницы не созданы.");
    OutputFolder output(settings.outputFolder);
    return writeSite(games, patches, home, base, pageTemplate, settings, callbacks, output);
}

} // namespace gamarium::pages
