// A remote folder's listing as servers send it, and as a broken or hostile
// one may: only names of entries inside the folder are read.
#include "core/publish/remote_listing.h"

#include <gtest/gtest.h>

namespace gamarium::publish {
namespace {

TEST(RemoteListing, ReadsOnlyNamesInsideTheFolder) {
    struct Case {
        const char* what;
        std::vector<RemoteEntry> (*read)(std::string_view);
        std::string listing;
        std::vector<std::string> files; // the names of the files read, in order
    };
    const Case cases[] = {
        {"vsftpd", parseLongListing,
         "drwxr-xr-x    3 0        0            4096 Dec 10 15:31 .\n"
         "-rw-r--r--    1 0        0               5 Dec 10 15:31 index.htm\n"
         "lrwxrwxrwx    1 0        0               9 Dec 10 15:31 link.htm -> index.htm\n"
         "-rw-r--r--    1 0        0               0 Mar 05  2019  two spaces.htm\n",
         {"index.htm", " two spaces.htm"}},
        {"a long listing naming nothing, or beyond the folder", parseLongListing,
         "-rw-r--r--    1 0        0               5 Dec 10 15:31 \r\n"
         "-rw-r--r--    1 0        0               5 Dec 10 15:31 ..\r\n"
         "-rw-r--r--    1 0        0               5 Dec 10 15:31 ../index.htm\r\n"
         "-rw-r--r--    1 0        0               5 Dec 10 15:31 sub/index.htm\r\n",
         {}},
        {"MLSD", parseMlsd,
         "type=cdir;perm=flcdmpe; .\r\ntype=file;size=5; index.htm\r\nType=File;Size=1;  lead.htm\r\n", {"index.htm", " lead.htm"}},
        {"MLSD naming nothing, or beyond the folder", parseMlsd,
         "type=file;size=5; \r\ntype=file;size=5; .\r\ntype=file;size=5; ../index.htm\r\ntype=file;size=5; a/b\r\n", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> files;
        for (const RemoteEntry& entry : c.read(c.listing))
            if (entry.isFile) files.push_back(entry.name);
        EXPECT_EQ(files, c.files) << c.what;
    }
}

} // namespace
} // namespace gamarium::publish
