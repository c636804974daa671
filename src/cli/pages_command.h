#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// `pages NAME TEMPLATE OUTDIR`: the site's pages as the generator window's
// "Создать главные страницы" writes them, each option in place of its box.
int writePages(Invocation& invocation);
// `preview NAME POSITION TEMPLATE OUTFILE`: the one page that holds the game
// at POSITION, as `pages` writes it; without --image-path the pictures
// are linked to their files on this disk.
int writePreview(Invocation& invocation);

} // namespace gamarium::cli
