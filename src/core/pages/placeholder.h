#pragma once

#include <string>
#include <string_view>

// The $-placeholders of page templates.
namespace gamarium::pages {

// Puts `value` in place of the first occurrence of `placeholder` in `text`,
// found without regard to the code page's letter case. The whole text is
// searched, values put in by earlier replacements included; a second
// occurrence stays as written. Returns false (text unchanged) when absent.
bool replaceFirst(std::string& text, std::string_view placeholder, std::string_view value);

// Whether `text` holds `placeholder`, found as replaceFirst finds it.
bool holdsPlaceholder(std::string_view text, std::string_view placeholder);

// `source` with every occurrence of `find` replaced, exactly as written
// (letter case counts). The search starts again before each replacement,
// so pieces that meet across a replacement are caught too.
std::string replaceall(std::string_view source, std::string_view find, std::string_view replacement);

} // namespace gamarium::pages
