// A remote folder's listing as a broken or hostile server may send it, read
// both as an FTP MLSD answer and as a long listing (FTP's LIST, SFTP's
// folder reading). Each file read names a file inside the folder: a run
// joins the name onto the folder's path.
#include "fields_input.h"

#include "core/publish/remote_listing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gamarium::publish;
    const std::string_view listing = gamarium::fuzz::asText(data, size);
    for (const std::vector<RemoteEntry>& entries : {parseMlsd(listing), parseLongListing(listing)})
        for (const RemoteEntry& entry : entries)
            if (entry.isFile && (entry.name.empty() || entry.name == "." || entry.name == ".." ||
                                 entry.name.find('/') != std::string::npos))
                __builtin_trap();
    return 0;
}
