#include "core/dat/regions.h"

#include "core/dat/word_list.h"
#include "core/text/cp1251.h"

#include <algorithm>

namespace gamarium::dat {
namespace {

struct Region {
    std::string_view word;
    std::string_view letters;
};

// The region words of No-Intro names, lower-cased. The README shows this table.
constexpr Region kRegions[] = {
    {"usa", "u"},         {"canada", "u"},      {"japan", "j"},       {"world", "jue"},
    {"europe", "e"},      {"austria", "e"},     {"belgium", "e"},     {"croatia", "e"},
    {"czech", "e"},       {"denmark", "e"},     {"finland", "e"},     {"france", "e"},
    {"germany", "e"},     {"greece", "e"},      {"hungary", "e"},     {"ireland", "e"},
    {"italy", "e"},       {"netherlands", "e"}, {"norway", "e"},      {"poland", "e"},
    {"portugal", "e"},    {"russia", "e"},      {"scandinavia", "e"}, {"spain", "e"},
    {"sweden", "e"},      {"switzerland", "e"}, {"uk", "e"},          {"united kingdom", "e"},
    {"australia", "e"},   {"new zealand", "e"}, {"asia", "a"},        {"brazil", "b"},
    {"china", "c"},       {"hong kong", "c"},   {"taiwan", "c"},      {"korea", "k"},
};

constexpr std::size_t kMostLetters = 3;

const Region* regionOf(std::string_view word) {
    const std::string lower = text::lowerLatin(word);
    const auto it = std::find_if(std::begin(kRegions), std::end(kRegions),
                                 [&](const Region& region) { return region.word == lower; });
    return it == std::end(kRegions) ? nullptr : it;
}

} // namespace

RegionLetters regionLetters(std::string_view list) {
    RegionLetters result;
    for (const std::string_view word : listWords(list, ",")) {
        const Region* region = regionOf(word);
        if (!region) {
            result.unknown.emplace_back(word);
            continue;
        }
        for (const char letter : region->letters)
            if (result.letters.size() < kMostLetters && result.letters.find(letter) == std::string::npos)
                result.letters += letter;
    }
    return result;
}

RegionLetters gameRegion(std::string_view name, std::string_view regionField) {
    // Each group from the "(" nearest before its ")": "(^^; (Japan)" holds "Japan".
    for (std::size_t close = name.find(')'); close != std::string_view::npos; close = name.find(')', close + 1)) {
        const std::size_t open = name.rfind('(', close);
        if (open == std::string_view::npos) continue;
        const std::string_view group = name.substr(open + 1, close - open - 1);
        const std::vector<std::string_view> groupWords = listWords(group, ",");
        if (!groupWords.empty() && std::all_of(groupWords.begin(), groupWords.end(), regionOf))
            return regionLetters(group);
    }
    return regionLetters(regionField);
}

} // namespace gamarium::dat
