#include "core/dat/dat_text.h"

#include "core/dat/dat_game.h"
#include "core/text/not_text.h"
#include "core/text/printable.h"

namespace gamarium::dat {

void checkIsText(std::string_view text, int line) {
    const std::optional<text::NotText> found = text::findNotText(text, text::TextKind::Name);
    if (!found) return;
    // A NUL byte says the whole file is none; a control character is shown where it stands.
    if (text[found->at] == '\0') throw DamagedDat(line, found->reason);
    throw DamagedDat(line, found->reason + " в " + text::quoted(text));
}

} // namespace gamarium::dat
