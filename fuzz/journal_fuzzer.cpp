// The journal of picture files a restore point keeps, read as a restore
// reads it before taking the moves back. Each entry read names two files
// by their full paths, with a content hash of 32 hexadecimal digits or none.
#include "fields_input.h"
#include "fuzz_folder.h"

#include "core/error.h"
#include "core/history/picture_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace gamarium;
    const files::Path file = fuzz::folder() / "journal.txt";
    fuzz::writeFile(file, fuzz::asText(data, size));
    try {
        for (const history::JournalEntry& entry : history::readJournal(fuzz::folder(), file))
            if (!entry.from.is_absolute() || !entry.to.is_absolute() || (entry.hash && entry.hash->size() != 32))
                __builtin_trap();
    } catch (const Error&) {
    }
    return 0;
}
