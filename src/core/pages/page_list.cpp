#include "core/pages/page_list.h"

#include "core/pages/placeholder.h"
#include "core/text/cp1251.h"

namespace gamarium::pages {
namespace {

std::string pageLink(std::string_view key, int page) {
    return "<a href=\"" + pageName(key, page) + ".htm\"><b>" + std::to_string(page) + "</b></a>";
}

} // namespace

std::string pageName(std::string_view key, int page) {
    return page == 1 ? std::string(key) : std::string(key) + std::to_string(page);
}

std::string pagelinks(std::string_view key, int pages) {
    std::string links;
    for (int page = 1; page <= pages; ++page) {
        links += pageLink(key, page) + "&nbsp;&nbsp;";
        if (page == 20)
            links += "<br>";
    }
    return links;
}

std::string pagelist(std::string_view pagelinks, std::string_view key, int page) {
    return replaceall(pagelinks, pageLink(key, page), "<b>[" + std::to_string(page) + "]</b>");
}

std::string letterlistEntry(std::string_view key) {
    const std::string label = key == "num" ? "#" : text::upper(key);
    return "<a href=\"" + std::string(key) + ".htm\">" + label + "</a>&nbsp;&nbsp;";
}

std::string addnames1(std::string_view text, const PageTexts& texts) {
    std::string filled(text);
    // $LETTERLIST first, so that it is never taken for $LETTER.
    replaceFirst(filled, "$LETTERLIST", texts.letterlist);
    replaceFirst(filled, "$LETTER", texts.curletter);
    replaceFirst(filled, "$PAGES", texts.pagelist);
    replaceFirst(filled, "$PAGES", texts.pagelist);
    return filled;
}

} // namespace gamarium::pages
