// A page template file split into its sections, then one game rendered
// with its block and its page head and foot filled, as a run of the page
// generator does. The input is the game's and its patch's fields, each
// ended by a zero byte, then the template file.
#include "fields_input.h"

#include "core/pages/block.h"
#include "core/pages/page_list.h"
#include "core/pages/template_file.h"
#include "core/text/cp1251.h"

#include <string>

namespace {

using namespace gamarium;
using pages::GameRecord;
using pages::PatchRecord;

constexpr std::string GameRecord::*kGameFields[] = {
    &GameRecord::name,  &GameRecord::region,    &GameRecord::text1,     &GameRecord::drname, &GameRecord::analog,
    &GameRecord::sid,   &GameRecord::image1,    &GameRecord::publisher, &GameRecord::developer,
    &GameRecord::year,  &GameRecord::type,      &GameRecord::genre,     &GameRecord::ngamers, &GameRecord::size,
    &GameRecord::file,  &GameRecord::rating,    &GameRecord::patch,
};
constexpr std::string PatchRecord::*kPatchFields[] = {
    &PatchRecord::patch, &PatchRecord::size, &PatchRecord::proc, &PatchRecord::language, &PatchRecord::autor,
    &PatchRecord::year,
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest = fuzz::asText(data, size);
    GameRecord game;
    for (const auto field : kGameFields) game.*field = fuzz::takeField(rest);
    std::uint32_t rating = 0; // a 32-bit field, as the table keeps it
    for (const char c : fuzz::takeField(rest)) rating = rating * 31 + static_cast<unsigned char>(c);
    game.ratingValue = static_cast<std::int32_t>(rating);
    PatchRecord patchRecord;
    for (const auto field : kPatchFields) patchRecord.*field = fuzz::takeField(rest);
    const std::optional<PatchRecord> patch =
        game.patch.empty() ? std::nullopt : std::optional<PatchRecord>(patchRecord);

    const pages::PageTemplate sections = pages::parseTemplate(rest);
    for (const std::string* section : {&sections.head, &sections.block, &sections.foot})
        if (!section->empty() && !section->ends_with("\r\n")) __builtin_trap(); // every line ends in CR LF

    const pictures::PictureSize picture{static_cast<int>(game.name.size() * 37), static_cast<int>(rest.size())};
    const std::string block =
        pages::renderBlock(sections.block, game, patch, picture, pages::BlockSettings{}, [](const std::string&) {});
    const std::string key = text::lower(game.sid);
    const pages::PageTexts texts{pages::letterlistEntry(key), text::upper(key),
                                 pages::pagelist(pages::pagelinks(key, 3), key, 2)};
    const std::string page = pages::addnames1(sections.head, texts) + block + pages::addnames1(sections.foot, texts);
    return 0;
}
