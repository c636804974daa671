// The record of what was sent from a folder to a site (an SQLite file), as
// a publish run opens it, reads it whole, then changes it: a file's sending
// begun and confirmed, the kept hashes dropped. A record it cannot use is
// refused with an Error.
#include "fields_input.h"
#include "fuzz_folder.h"
#include "program_files.h"

#include "core/error.h"
#include "core/publish/sent_record.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gamarium;
    const files::Path& home = fuzz::folder();
    const publish::SiteAddress address = fuzz::siteAddress();
    const files::Path file = publish::SentRecord::fileFor(home, fuzz::siteFolder(), address);
    std::filesystem::remove_all(file.parent_path());
    fuzz::writeFile(file, fuzz::asText(data, size));
    try {
        publish::SentRecord record(home, fuzz::siteFolder(), address);
        record.files();
        const std::vector<std::string> temporaries = record.temporaries();
        record.keepHashes({}, record.hashes());
        record.beginSend("index.htm", 5, {"index.htm.tmp"});
        record.confirmSent("index.htm", {5, "00112233445566778899aabbccddeeff"}, {"index.htm.tmp"});
        record.forgetTemporaries(temporaries);
        record.forget("index.htm");
    } catch (const Error&) {
    }
    return 0;
}
