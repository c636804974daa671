#pragma once

#include <string>
#include <string_view>

// The page-level texts of a set of pages: a set has a key ("a", "num",
// "ru", "dejap") and pages named key, key2, key3, ...
namespace gamarium::pages {

// The name of page `page` (from 1) of the set `key`, without ".htm".
std::string pageName(std::string_view key, int page);

// The set's page list with every page a link; a line break follows page 20.
std::string pagelinks(std::string_view key, int pages);

// The page list as page `page` shows it: its own link becomes "<b>[p]</b>".
std::string pagelist(std::string_view pagelinks, std::string_view key, int page);

// The entry of a letter group in the letter list; "num" shows as "#".
std::string letterlistEntry(std::string_view key);

// What the page head and foot are filled with.
struct PageTexts {
    std::string letterlist; // every letter group, the same on every page
    std::string curletter;  // the set's key in capitals
    std::string pagelist;
};

// Fills $LETTERLIST, $LETTER and $PAGES twice (a list above and below).
std::string addnames1(std::string_view text, const PageTexts& texts);

} // namespace gamarium::pages
