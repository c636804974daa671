// An old Paradox table and its memo file read whole, as the conversion
// reads them. The input is the table's length (4 bytes, low first), the
// table file, then the memo file (none when nothing is left); the reader
// takes files, so both are written to a folder of this process's own.
#include "fields_input.h"
#include "fuzz_folder.h"

#include "core/error.h"
#include "core/paradox/paradox_table.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::size_t tableSize = std::min<std::size_t>(size - 4, data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24);
    const std::string_view bytes = gamarium::fuzz::asText(data + 4, size - 4);
    namespace fs = std::filesystem;
    using gamarium::fuzz::folder, gamarium::fuzz::writeFile;
    const fs::path table = folder() / "games.db", memos = folder() / "games.mb";
    writeFile(table, bytes.substr(0, tableSize));
    std::error_code ec;
    fs::remove(memos, ec);
    if (tableSize < bytes.size()) writeFile(memos, bytes.substr(tableSize));
    try {
        gamarium::paradox::ParadoxTable reader(table);
        const std::size_t fields = reader.fields().size();
        reader.readRecords([&](const std::vector<gamarium::paradox::Value>& values) {
            if (values.size() != fields) __builtin_trap();
        });
    } catch (const gamarium::Error&) {
    }
    return 0;
}
