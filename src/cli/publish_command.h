#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// `publish FOLDER URL`: sends what changed in FOLDER to the remote folder
// of URL (sftp://, ftps:// or ftp://), printing "отправлен PATH" and
// "удалён PATH" per file and the closing count.
int publishFolder(Invocation& invocation);

} // namespace gamarium::cli
