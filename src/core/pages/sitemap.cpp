#include "core/pages/sitemap.h"

#include "core/pages/file_url.h"
#include "core/text/cp1251.h"

#include <chrono>
#include <cstdio>

namespace gamarium::pages {
namespace {

std::string xmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

// W3C date and time in UTC, to the second.
std::string w3cTime(std::int64_t changed) {
    using namespace std::chrono;
    const sys_seconds time = floor<seconds>(sys_time<nanoseconds>(nanoseconds(changed)));
    const sys_days day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(time - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d+00:00", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

bool startsNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size())
        return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (text::lower(text[i]) != start[i])
            return false;
    return true;
}

} // namespace

bool isSiteUrl(std::string_view siteUrl) {
    for (const std::string_view scheme : {"http://", "https://"})
        if (startsNoCase(siteUrl, scheme) && siteUrl.size() > scheme.size())
            return true;
    return false;
}

std::string sitemap(std::string_view siteUrl, const std::vector<SitemapPage>& pages) {
    const std::string base = std::string(siteUrl) + (siteUrl.ends_with('/') ? "" : "/");
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
    for (const SitemapPage& page : pages)
        xml += "<url><loc>" + xmlEscaped(base + percentEncoded(text::toUtf8(text::StoredText::fromCp1251(page.name)))) + "</loc><lastmod>" + w3cTime(page.changed) +
               "</lastmod></url>\n";
    return xml + "</urlset>\n";
}

} // namespace gamarium::pages
