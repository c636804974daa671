// An old Paradox table and its memo file read whole, as the conversion
// reads them. The input is the table's length (4 bytes, low first), the
// table file, then the memo file (none when nothing is left); the reader
// takes files, so both are written to a folder of this process's own.
#include "fields_input.h"

#include "core/error.h"
#include "core/paradox/paradox_table.h"

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Made at the first input, removed when the fuzzer ends.
struct Folder {
    fs::path path = fs::temp_directory_path() / ("paradox-fuzz-" + std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

const fs::path& folder() {
    static const Folder made;
    return made.path;
}

void writeFile(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::size_t tableSize = std::min<std::size_t>(size - 4, data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24);
    const std::string_view bytes = gamarium::fuzz::asText(data + 4, size - 4);
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
