#pragma once

#include "core/files/files.h"
#include "core/publish/connection.h"
#include "core/publish/site_address.h"

#include <cstddef>
#include <functional>
#include <string>

// Publishing a folder to a remote folder: only what changed is sent, each
// file under a temporary name renamed over the old one when whole.
namespace gamarium::publish {

struct PublishOptions {
    bool removeGone = false;  // remove remote files this program sent that are gone from the folder
    bool dryRun = false;      // say what would be done; send, remove and record nothing
    bool check = false;       // list the remote folders and send again what is missing or differs
    unsigned jobs = 4;        // connections at once
};

// What a run tells as it goes. Each is called from the publishing
// threads, one call at a time, and may be empty.
struct PublishCallbacks {
    std::function<void(const std::string&)> line;     // "отправлен PATH", "удалён PATH", what --check found
    std::function<void(const std::string&)> warning;  // plain FTP's password in the clear, a file skipped
    std::function<void(std::size_t done, std::size_t total)> progress;
    std::function<bool()> cancelled;                  // true: stop after the files being sent
};

struct PublishReport {
    std::size_t sent = 0;
    std::size_t removed = 0;
    std::size_t unchanged = 0;
    std::size_t skipped = 0;  // files not sent, each told as a warning "пропущен PATH: why"
    bool cancelled = false;
};

// The closing line: "отправлено N, удалено M, без изменений K", and
// ", пропущено S" when files were skipped.
std::string reportLine(const PublishReport& report);

// Publishes `folder` to `address`, keeping the record of sent files in the
// program folder `home`. A file that cannot be sent as it is (see
// listLocalFiles), or whose place on the server a folder holds, is skipped
// and told, and the others are sent. Throws Error for a folder no site is,
// and, after the files being sent are done, when one fails (its message
// names the file and quotes the server); a ConnectionError when the server
// cannot be reached, is lost, or refuses the login or its key (LoginRefused
// for the login). The record stays true whatever stops the run.
PublishReport publishFolder(const files::Path& home, const files::Path& folder, const SiteAddress& address,
                            const Access& access, const PublishOptions& options, const PublishCallbacks& callbacks);

} // namespace gamarium::publish
