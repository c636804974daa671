#include "core/pages/generator.h"

#include "core/error.h"
#include "core/pages/block.h"
#include "core/pages/input_hash.h"
#include "core/pages/output_folder.h"
#include "core/pages/page_list.h"
#include "core/pages/page_record.h"
#include "core/pages/page_set.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <functional>

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

// What pages hold for given inputs; raise it when the program comes to
// make other bytes of the same inputs, so that pages recorded by an older
// program are made anew.
constexpr std::int64_t kPageFormat = 1;

// What goes into every page of the run.
InputHash::Digest runInputs(const PageTemplate& pageTemplate, const PageSettings& settings,
                            const std::string& letterlist) {
    InputHash hash;
    hash.add(kPageFormat).add(GAMARIUM_VERSION);
    hash.add(pageTemplate.head).add(pageTemplate.block).add(pageTemplate.foot);
    hash.add(settings.block.russianPatchPath).add(settings.block.otherPatchPath).add(settings.block.imagePath);
    hash.add(settings.gamesPerPage).add(letterlist);
    return hash.digest();
}

void addBlock(InputHash& hash, const BlockInputs& block) {
    for (const auto& [name, member] : gameTextFields())
        hash.add(block.game->*member);
    hash.add(block.game->patchPosition).add(block.game->ratingValue);
    hash.add(block.patch.has_value());
    if (block.patch)
        for (const auto& [name, member] : patchTextFields())
            hash.add(*block.patch.*member);
    hash.add(block.picture.width).add(block.picture.height);
}

class SiteWriter {
public:
    SiteWriter(const PageTemplate& pageTemplate, const PageSettings& settings, BlockRenderer& renderer,
               OutputFolder& output, PageRecord& record, std::string letterlist)
        : template_(pageTemplate), gamesPerPage_(settings.gamesPerPage), renderer_(renderer), output_(output),
          record_(record), runInputs_(runInputs(pageTemplate, settings, letterlist)) {
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
                const auto count = std::min<std::ptrdiff_t>(gamesPerPage_, set->games.end() - next);
                InputHash inputs;
                inputs.add(runInputs_).add(set->key).add(page).add(pages);
                std::vector<BlockInputs> blocks;
                for (const auto last = next + count; next != last; ++next) {
                    lastGame_ = *next;
                    addBlock(inputs, blocks.emplace_back(renderer_.next(*next)));
                }
                writePage(pageName(set->key, page) + ".htm", inputs.digest(), blocks,
                          [&] { return pagelist(links, set->key, page); });
                ++done;
                tellProgress();
            }
        }
        record_.save();
    }

    const GenerationReport& report() const { return report_; }
    // The 1-based position of the last game written; 0 before any.
    std::int64_t lastGame() const { return lastGame_; }

private:
    // A page whose inputs are those its file was made of is not made again.
    void writePage(const std::string& name, const InputHash::Digest& inputs, const std::vector<BlockInputs>& blocks,
                   const std::function<std::string()>& pagelistOfPage) {
        const files::Path file = output_.pageFile(name);
        const std::optional<files::FileStamp> before = files::fileStamp(file);
        if (record_.unchanged(name, inputs, before)) {
            for (const BlockInputs& block : blocks)
                tellBlockMessages(*block.game, renderer_.messages());
            record_.note(name, inputs, *before);
            ++report_.pagesUnchanged;
            return;
        }
        texts_.pagelist = pagelistOfPage();
        std::string bytes = addnames1(template_.head, texts_);
        for (const BlockInputs& block : blocks)
            bytes += renderer_.render(template_.block, block);
        bytes += addnames1(template_.foot, texts_);
        ++(output_.writePage(file, bytes) ? report_.pagesWritten : report_.pagesUnchanged);
        if (const std::optional<files::FileStamp> after = files::fileStamp(file))
            record_.note(name, inputs, *after);
    }

    const PageTemplate& template_;
    int gamesPerPage_;
    BlockRenderer& renderer_;
    OutputFolder& output_;
    PageRecord& record_;
    const InputHash::Digest runInputs_;
    PageTexts texts_;
    GenerationReport report_;
    std::int64_t lastGame_ = 0;
};

GenerationReport writeSite(store::Table& games, store::Table& patches, const files::Path& home, std::string_view base,
                           const PageTemplate& pageTemplate, const PageSettings& settings,
                           const GeneratorCallbacks& callbacks, OutputFolder& output) {
    // The pictures are looked at from the moment the games' places are
    // known, while the rest of the records is read.
    PictureSizes pictureSizes(home, base, PictureSizes::Coverage::WholeBase);
    const std::vector<PatchRecord> patchRecords = readPatches(patches);
    std::vector<GameRecord> gameKeys = readGameKeys(games);
    const SiteSets sets = groupGames(gameKeys, patchRecords);
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
    pictureSizes.read(std::move(gameKeys), std::move(order));
    const std::vector<GameRecord> gameRecords = readGames(games);
    BlockRenderer renderer(gameRecords, patchRecords, pictureSizes, settings.block, callbacks.messages);
    PageRecord record(home, output.folder());
    SiteWriter writer(pageTemplate, settings, renderer, output, record, sets.letterlist);
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
