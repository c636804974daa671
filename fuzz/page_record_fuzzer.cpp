// What the page generator recorded of the pages of an output folder (an
// SQLite file in the cache folder), as a run opens it, asks it about a
// page and writes it again. A record that cannot be read is only a cache:
// it is made anew, and nothing is thrown.
#include "fields_input.h"
#include "fuzz_folder.h"
#include "program_files.h"

#include "core/pages/page_record.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gamarium;
    const files::Path& home = fuzz::folder();
    std::filesystem::remove_all(pages::cacheFolder(home));
    fuzz::writeFile(pages::pageRecordFile(home, fuzz::siteFolder()), fuzz::asText(data, size));
    pages::PageRecord record(home, fuzz::siteFolder());
    const pages::InputHash::Digest digest = pages::InputHash().add("Alpha Strike").digest();
    const files::FileStamp stamp{.size = 512, .changed = 1'700'000'000'000'000'000, .identity = 7};
    for (const char* page : {"index.htm", "a.htm"}) {
        record.sameRecords(page, digest);
        record.unchanged(page, digest, stamp);
    }
    record.note("index.htm", digest, digest, stamp);
    record.save();
    return 0;
}
