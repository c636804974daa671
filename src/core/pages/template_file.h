#pragma once

#include "core/files/files.h"

#include <string>
#include <string_view>

// Page templates (".htd" files, Windows-1251): the page head, the game
// block and the page foot, separated by marker lines.
namespace gamarium::pages {

struct PageTemplate {
    std::string head;  // page-level placeholders ($LETTERLIST, $LETTER, $PAGES)
    std::string block; // one game's placeholders
    std::string foot;  // page-level placeholders
};

// Splits the bytes of a template file into its three sections. A marker
// line begins with "$B" in either letter case and is dropped whole. Lines
// after no marker or one go to the head, after two to the block, after
// three or more to the foot. Lines end at LF, CR LF or a lone CR; every
// line of a section is followed by CR LF there.
PageTemplate parseTemplate(std::string_view bytes);

// The template in a file; throws Error when it cannot be read.
PageTemplate loadTemplate(const files::Path& file);

// templates/ of the program folder, where the example's template is put
// and where a template is looked for first.
files::Path templatesFolder(const files::Path& home);

} // namespace gamarium::pages
