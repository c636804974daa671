#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The map of a site for search engines (sitemap.xml, the sitemaps.org
// format): every page with the date of its last change.
namespace gamarium::pages {

struct SitemapPage {
    std::string name;     // the page file's name (Windows-1251)
    std::int64_t changed; // its file's last change, nanoseconds since 1970 (UTC)
};

// Whether `siteUrl` can begin the pages' addresses: http:// or https://.
bool isSiteUrl(std::string_view siteUrl);

// The sitemap of `pages` under `siteUrl` (UTF-8; a slash is put between
// it and each page name when it does not end with one).
std::string sitemap(std::string_view siteUrl, const std::vector<SitemapPage>& pages);

} // namespace gamarium::pages
