#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// `pages NAME TEMPLATE OUTDIR`: the site's pages as the generator window's
// "Создать главные страницы" writes them, each option in place of its box.
int writePages(Invocation& invocation);

} // namespace gamarium::cli
