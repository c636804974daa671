// A site's address names the user and the remote folder it spells, %XX
// decoded; one whose user or folder cannot be decoded is refused rather
// than read as no user or as the server's root folder, and so is a host
// or a folder ("." or ".." written as %2E) that libcurl would read
// otherwise in the URLs made of it.
#include "core/error.h"
#include "core/publish/site_address.h"

#include <gtest/gtest.h>

namespace gamarium::publish {
namespace {

TEST(SiteAddress, NamesTheUserAndFolderItSpells) {
    struct Case {
        const char* url;
        const char* user; // nullptr: refused
        const char* path;
    };
    const Case cases[] = {
        {"sftp://first.last%40mail@example.org/%D1%81%D0%B0%D0%B9%D1%82%20%231/", "first.last@mail",
         "/\xD1\x81\xD0\xB0\xD0\xB9\xD1\x82 #1"},
        {"ftp://example.org", "", "/"},
        {"sftp://me@example.org/www%0A", nullptr, nullptr},
        {"sftp://me@example.org/www%00/old", nullptr, nullptr},
        {"ftps://me%0D@example.org/www", nullptr, nullptr},
        {"sftp://me@ex%0%31ample.org/www", nullptr, nullptr},
        {"sftp://me@ex%7Fample.org/www", nullptr, nullptr},
        {"sftp://me@ex%FFample.org/www", nullptr, nullptr},
        {"ftp://example.org/www//.%2e/site", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        if (!c.user) {
            EXPECT_THROW(parseSiteAddress(c.url), Error) << c.url;
            continue;
        }
        const SiteAddress address = parseSiteAddress(c.url);
        EXPECT_EQ(address.user, c.user) << c.url;
        EXPECT_EQ(address.path, c.path) << c.url;
    }
}

} // namespace
} // namespace gamarium::publish
