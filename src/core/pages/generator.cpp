#include "core/pages/generator.h"

#include "core/error.h"
#include "core/pages/block.h"
#include "core/pages/file_url.h"
#include "core/pages/game_digests.h"
#include "core/pages/input_hash.h"
#include "core/pages/kept_patches.h"
#include "core/pages/output_folder.h"
#include "core/pages/page_list.h"
#include "core/pages/page_record.h"
#include "core/pages/page_set.h"
#include "core/pages/placeholder.h"
#include "core/pages/sitemap.h"
#include "core/pictures/picture_folder.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <optional>
#include <span>

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
        throw Error("Поле Sid «" + text::toUtf8(text::StoredText::fromCp1251(set.key)) + "» не годится для имени страницы. Страницы не созданы.");
}

// Why a run would write nothing, told in this order.
std::optional<std::string> refusal(const PageTemplate& pageTemplate, const PageSettings& settings,
                                   const store::Table& games) {
    if (pageTemplate.block.empty())
        return "Открой файл сначала!";
    if (settings.gamesPerPage < 1)
        return "Описаний на страницу должно быть не меньше одного. Страницы не созданы.";
    if (games.isEmpty())
        return "В базе нет ни одной игры. Страницы не созданы.";
    if (!settings.siteUrl.empty() && !isSiteUrl(settings.siteUrl))
        return "Адрес сайта «" + settings.siteUrl + "» должен начинаться с http:// или https://. Страницы не созданы.";
    return std::nullopt;
}

// The sets a run writes, in order: every letter group, then the ru and
// dejap pages when they have games.
std::vector<const PageSet*> writtenSets(const SiteSets& sets) {
    std::vector<const PageSet*> written;
    for (const PageSet& set : sets.letters)
        written.push_back(&set);
    for (const PageSet* set : {&sets.ru, &sets.dejap})
        if (!set->games.empty())
            written.push_back(set);
    for (const PageSet* set : written)
        checkKey(*set);
    return written;
}

// The texts of the pages of a run. A set's list of page links grows with
// its pages, so it is made once a set, and only for a template that shows it.
class PageTextMaker {
public:
    PageTextMaker(const PageTemplate& pageTemplate, const std::string& letterlist)
        : letterlist_(letterlist), wantsPages_(holdsPlaceholder(pageTemplate.head, "$PAGES") ||
                                               holdsPlaceholder(pageTemplate.foot, "$PAGES")) {}

    PageTexts texts(std::string_view key, int page, int pages) {
        PageTexts texts{.letterlist = letterlist_, .curletter = text::upper(key), .pagelist = {}};
        if (!wantsPages_) return texts;
        if (key != key_ || pages != pages_) {
            key_ = key;
            pages_ = pages;
            links_ = pagelinks(key, pages);
        }
        texts.pagelist = pagelist(links_, key, page);
        return texts;
    }

private:
    const std::string& letterlist_;
    const bool wantsPages_;
    std::string key_, links_; // of the set whose pages were made last
    int pages_ = 0;
};

// `beforeBlock`, when given, goes before the block `marked`.
std::string pageBytes(const PageTemplate& pageTemplate, const PageTexts& texts, const BlockRenderer& renderer,
                      const std::vector<BlockInputs>& blocks, std::span<const GameRecord> games,
                      std::size_t marked = 0, std::string_view beforeBlock = {}) {
    std::string bytes = addnames1(pageTemplate.head, texts);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i == marked) bytes += beforeBlock;
        bytes += renderer.render(pageTemplate.block, blocks[i], games[i]);
    }
    return bytes + addnames1(pageTemplate.foot, texts);
}

// A <base> naming `folder` as early in the head as the page allows: after
// its <head> tag, or before everything where it has none.
void addBase(std::string& page, const files::Path& folder) {
    std::string lower = page;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    std::size_t at = 0;
    for (std::size_t head = lower.find("<head"); head != std::string::npos; head = lower.find("<head", head + 1))
        if (head + 5 < lower.size() && (lower[head + 5] == '>' || lower[head + 5] == ' ' || lower[head + 5] == '\t' ||
                                        lower[head + 5] == '\r' || lower[head + 5] == '\n')) {
            const std::size_t end = lower.find('>', head);
            if (end != std::string::npos) at = end + 1;
            break;
        }
    std::string url = fileUrl(folder);
    if (!url.ends_with('/')) url += '/';
    page.insert(at, "<base href=\"" + url + "\">");
}

// What pages hold for given inputs and how their digest is made; raise it
// when the program comes to make other bytes of the same inputs or to
// digest them otherwise, so that pages recorded by an older program are
// made anew.
constexpr std::int64_t kPageFormat = 3;

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

// What a page is made of besides its pictures: the run's inputs, its place
// among the pages, and its games, each by the digest of its stored fields
// (its numbers among them) with its patch.
InputHash::Digest pageRecords(const InputHash::Digest& run, const PageSet& set, int number, int count,
                              std::span<const std::int64_t> games, const std::vector<GameKeys>& keys,
                              const std::vector<PatchRecord>& patches, const GameDigests& digests) {
    InputHash hash;
    hash.add(run).add(set.key).add(number).add(count);
    for (const std::int64_t game : games) {
        hash.add(digests.at(game));
        const GameKeys& gameKeys = keys[static_cast<std::size_t>(game - 1)];
        hash.add(gameKeys.hasPatch);
        if (gameKeys.hasPatch)
            for (const auto& [name, member] : patchTextFields())
                hash.add(patchAt(patches, gameKeys.patchPosition).*member);
    }
    return hash.digest();
}

// Writes the pages of a run. What every page is made of is digested first,
// without its pictures, and the games of the pages whose records changed
// are read whole at once, while the pictures are still being looked at.
// Then the pages are made or left in order, each as its pictures' sizes
// come.
class SiteWriter {
public:
    SiteWriter(const PageTemplate& pageTemplate, const PageSettings& settings, store::Table& games,
               const std::vector<GameKeys>& keys, const std::vector<PatchRecord>& patches,
               const GameDigests& digests, BlockRenderer& renderer, OutputFolder& output, PageRecord& record,
               std::string letterlist)
        : template_(pageTemplate), gamesPerPage_(settings.gamesPerPage), games_(games), keys_(keys),
          patches_(patches), digests_(digests), renderer_(renderer), output_(output), record_(record),
          runInputs_(runInputs(pageTemplate, settings, letterlist)), letterlist_(std::move(letterlist)) {}

    void writeSets(const std::vector<const PageSet*>& sets, const ProgressSink& progress) {
        const std::vector<Page> pages = plan(sets);
        std::vector<std::int64_t> changed;
        for (const Page& page : pages)
            if (!page.sameRecords)
                changed.insert(changed.end(), page.games.begin(), page.games.end());
        const std::vector<GameRecord> records = readGamesAt(games_, changed);
        std::span<const GameRecord> next(records);
        const auto total = static_cast<int>(pages.size());
        if (progress)
            progress(0, total);
        for (int done = 1; const Page& page : pages) {
            if (page.sameRecords) {
                writePage(page, {});
            } else {
                writePage(page, next.first(page.games.size()));
                next = next.subspan(page.games.size());
            }
            if (progress)
                progress(done++, total);
        }
        removeStalePages();
        record_.save();
    }

    const GenerationReport& report() const { return report_; }
    // Every page of the run with its file's last change.
    const std::vector<SitemapPage>& pages() const { return written_; }
    // The 1-based position of the last game written; 0 before any.
    std::int64_t lastGame() const { return lastGame_; }

private:
    struct Page {
        const PageSet* set = nullptr;
        int number = 0, count = 0; // of the set's pages
        std::span<const std::int64_t> games;
        std::string name;
        files::Path file;
        std::optional<files::FileStamp> before; // of its file as the run found it
        InputHash::Digest records{};
        bool sameRecords = false; // as the page was last made of
    };

    // A page an earlier run made that this run does not (its letter group
    // is gone) goes, as long as its file is the one the run made: a file
    // the user put there or changed is never removed.
    void removeStalePages() {
        for (const auto& [name, made] : record_.notNoted()) {
            const files::Path file = output_.pageFile(name);
            if (output_.pageStamp(file) == made && output_.removePage(file)) ++report_.pagesRemoved;
        }
    }

    std::vector<Page> plan(const std::vector<const PageSet*>& sets) {
        std::vector<Page> pages;
        for (const PageSet* set : sets) {
            const int count = pageCount(*set, gamesPerPage_);
            auto next = set->games.begin();
            for (int number = 1; number <= count; ++number) {
                const auto games = std::min<std::ptrdiff_t>(gamesPerPage_, set->games.end() - next);
                Page& page = pages.emplace_back(Page{.set = set, .number = number, .count = count,
                                                     .games = std::span<const std::int64_t>(next, next + games),
                                                     .name = pageName(set->key, number) + ".htm",
                                                     .file = {}, .before = {}});
                next += games;
                // Found while the pictures are still being looked at.
                page.file = output_.pageFile(page.name);
                page.before = output_.pageStamp(page.file);
                page.records = pageRecords(runInputs_, *set, number, count, page.games, keys_, patches_, digests_);
                page.sameRecords = record_.sameRecords(page.name, page.records);
            }
        }
        return pages;
    }

    // A page whose inputs are those its file was made of is not made again.
    // `games` are the page's games read whole, or none when its records are
    // those it was last made of.
    void writePage(const Page& page, std::span<const GameRecord> games) {
        InputHash inputs;
        inputs.add(page.records);
        std::vector<BlockInputs> blocks;
        for (const std::int64_t game : page.games) {
            lastGame_ = game;
            const BlockInputs& block = blocks.emplace_back(renderer_.next(game));
            inputs.add(block.picture.width).add(block.picture.height);
        }
        const InputHash::Digest digest = inputs.digest();
        const files::Path& file = page.file;
        if (record_.unchanged(page.name, digest, page.before)) {
            for (const std::int64_t game : page.games)
                tellBlockMessages(keys_[static_cast<std::size_t>(game - 1)], renderer_.messages());
            record_.note(page.name, page.records, digest, *page.before);
            written_.push_back({page.name, page.before->changed});
            ++report_.pagesUnchanged;
            return;
        }
        // Only its pictures changed: its games are read now, by themselves.
        std::vector<GameRecord> read;
        if (games.empty() && !page.games.empty()) {
            read = readGamesAt(games_, std::vector<std::int64_t>(page.games.begin(), page.games.end()));
            games = read;
        }
        const PageTexts texts = pageTexts_.texts(page.set->key, page.number, page.count);
        ++(output_.writePage(file, pageBytes(template_, texts, renderer_, blocks, games)) ? report_.pagesWritten
                                                                                        : report_.pagesUnchanged);
        const std::optional<files::FileStamp> after = output_.pageStamp(file);
        if (after)
            record_.note(page.name, page.records, digest, *after);
        written_.push_back({page.name, after ? after->changed : 0});
    }

    const PageTemplate& template_;
    int gamesPerPage_;
    store::Table& games_;
    const std::vector<GameKeys>& keys_;
    const std::vector<PatchRecord>& patches_;
    const GameDigests& digests_;
    BlockRenderer& renderer_;
    OutputFolder& output_;
    PageRecord& record_;
    const InputHash::Digest runInputs_;
    const std::string letterlist_;
    PageTextMaker pageTexts_{template_, letterlist_};
    GenerationReport report_;
    std::vector<SitemapPage> written_;
    std::int64_t lastGame_ = 0;
};

GenerationReport writeSite(store::Table& games, store::Table& patches, const files::Path& home, std::string_view base,
                           const PageTemplate& pageTemplate, const PageSettings& settings,
                           const GeneratorCallbacks& callbacks, OutputFolder& output) {
    // The games are read in one pass, and meanwhile their pictures looked
    // up in the picture size cache; the pictures it does not know are
    // looked at from the moment the games' places are known. The patches
    // are read after the games, while their pictures are being looked at.
    std::vector<GameKeys> gameKeys; // before the picture sizes, which keep them
    PictureSizes pictureSizes(home, base, PictureSizes::Coverage::WholeBase);
    const GameDigests digests(games, home, base, gameKeys, [&](std::int64_t position, const GameKeys& keys) {
        pictureSizes.look(position, keys);
    });
    const std::vector<PatchRecord> patchRecords = patchesOf(patches, home, base);
    const SiteSets sets = groupGames(gameKeys, patchRecords);
    const std::vector<const PageSet*> written = writtenSets(sets);
    if (const auto clash = pageNameClash(written, settings.gamesPerPage))
        return refuse(callbacks.messages, *clash);
    output.removeTemporaries();

    std::vector<std::int64_t> order;
    for (const PageSet* set : written)
        order.insert(order.end(), set->games.begin(), set->games.end());
    pictureSizes.read(gameKeys, std::move(order));
    BlockRenderer renderer(gameKeys, patchRecords, pictureSizes, settings.block, callbacks.messages);
    PageRecord record(home, output.folder());
    SiteWriter writer(pageTemplate, settings, games, gameKeys, patchRecords, digests, renderer, output, record,
                      sets.letterlist);
    writer.writeSets(written, callbacks.progress);
    if (!settings.siteUrl.empty())
        output.writePage(output.pageFile("sitemap.xml"), sitemap(settings.siteUrl, writer.pages()));
    // The tables are left where the run left off: the record editor shows
    // the last game written.
    games.moveToPosition(writer.lastGame());
    if (renderer.lastPatchPosition() > 0)
        patches.moveToPosition(renderer.lastPatchPosition());
    return writer.report();
}

// The size of the last picture found among the games `before` a page, in
// the run's order: what stands for the page's first game without one.
pictures::PictureSize pictureBefore(PictureSizes& sizes, const std::vector<std::int64_t>& before) {
    for (auto game = before.rbegin(); game != before.rend(); ++game)
        if (const auto size = sizes.at(*game))
            return *size;
    return {};
}

} // namespace

bool previewPage(store::Table& games, store::Table& patches, const files::Path& home, std::string_view base,
                 const PageTemplate& pageTemplate, PageSettings settings, std::int64_t position, PictureLinks links,
                 const files::Path& file, const MessageSink& messages, const BrowserView* view) {
    if (const auto why = refusal(pageTemplate, settings, games)) {
        tell(messages, *why);
        return false;
    }
    if (position < 1 || position > games.recordCount())
        throw Error("Игры на месте " + std::to_string(position) + " в базе нет.");
    std::vector<GameKeys> gameKeys; // before the picture sizes, which keep them
    PictureSizes pictureSizes(home, base, PictureSizes::Coverage::SomeGames);
    const std::vector<PatchRecord> patchRecords = patchesOf(patches, home, base);
    gameKeys = gameKeysOf(games, home, base);
    const SiteSets sets = groupGames(gameKeys, patchRecords);
    const std::vector<const PageSet*> written = writtenSets(sets);
    if (const auto clash = pageNameClash(written, settings.gamesPerPage)) {
        tell(messages, *clash);
        return false;
    }

    // The games before the page in the run's order, for the picture size
    // that stands where a game has none; then the page's own games.
    std::vector<std::int64_t> before;
    const PageSet* set = nullptr;
    std::size_t index = 0;
    for (const PageSet* letters : written) {
        const auto found = std::find(letters->games.begin(), letters->games.end(), position);
        if (found != letters->games.end()) {
            set = letters;
            index = static_cast<std::size_t>(found - letters->games.begin());
            break;
        }
        before.insert(before.end(), letters->games.begin(), letters->games.end());
    }
    const auto perPage = static_cast<std::size_t>(settings.gamesPerPage);
    const auto first = set->games.begin() + static_cast<std::ptrdiff_t>(index / perPage * perPage);
    const auto last = set->games.begin() + static_cast<std::ptrdiff_t>(std::min(set->games.size(), index / perPage * perPage + perPage));
    before.insert(before.end(), set->games.begin(), first);
    const std::vector<std::int64_t> shown(first, last);
    std::vector<std::int64_t> order = shown;
    order.insert(order.end(), before.rbegin(), before.rend());
    pictureSizes.read(gameKeys, std::move(order));
    const std::vector<GameRecord> shownRecords = readGamesAt(games, shown);

    if (links == PictureLinks::Files)
        settings.block.pictureLink = [&](const GameRecord& game) {
            return fileUrl(pictures::pictureFile(
                pictures::gamePictureFolder(home, base, text::StoredText::fromCp1251(game.sid)),
                text::StoredText::fromCp1251(game.image1)));
        };
    BlockRenderer renderer(gameKeys, patchRecords, pictureSizes, settings.block, messages,
                           pictureBefore(pictureSizes, before));
    std::vector<BlockInputs> blocks;
    for (const std::int64_t game : shown)
        blocks.push_back(renderer.next(game));
    const int page = static_cast<int>(index / perPage) + 1;
    const std::string anchor = view ? "<a id=\"" + view->anchor + "\"></a>" : std::string();
    std::string bytes = pageBytes(pageTemplate,
                                  PageTextMaker(pageTemplate, sets.letterlist).texts(set->key, page, pageCount(*set, settings.gamesPerPage)),
                                  renderer, blocks, shownRecords, index % perPage, anchor);
    if (view && !view->siteFolder.empty()) addBase(bytes, view->siteFolder);
    files::writeFileReplacing(file, bytes);
    return true;
}

GenerationReport generatePages(store::Table& games, store::Table& patches, const files::Path& home,
                               std::string_view base, const PageTemplate& pageTemplate, const PageSettings& settings,
                               const GeneratorCallbacks& callbacks) {
    if (const auto why = refusal(pageTemplate, settings, games))
        return refuse(callbacks.messages, *why);
    OutputFolder output(settings.outputFolder);
    return writeSite(games, patches, home, base, pageTemplate, settings, callbacks, output);
}

} // namespace gamarium::pages
