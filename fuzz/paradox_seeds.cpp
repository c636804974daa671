// Writes seed inputs for paradox_fuzzer into the folder given: old tables
// made by pxlib (a writer that is none of ours), with and without memos,
// each as the fuzzer takes them (table length, table, memo file).
#include "core/support/paradox_writer.h"

#include <cstdio>

namespace {

namespace fs = std::filesystem;
using namespace gamarium::testing;

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeSeed(const fs::path& seeds, const std::string& name, const std::vector<OldField>& fields,
               const std::vector<OldRow>& rows) {
    const fs::path table = seeds / (name + ".db"), memos = seeds / (name + ".mb");
    writeOldTable(table, fields, rows);
    const std::string bytes = readAll(table);
    std::string seed = lowFirstBytes(static_cast<std::uint32_t>(bytes.size()), 4) + bytes;
    if (fs::exists(memos)) seed += readAll(memos);
    std::ofstream(seeds / name, std::ios::binary) << seed;
    fs::remove(table);
    fs::remove(memos);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: paradox_seeds FOLDER\n");
        return 2;
    }
    const fs::path seeds = argv[1];
    const std::vector<OldField> plain{{"N", pxfShort, 2}, {"Name", pxfAlpha, 80}, {"Year", pxfLong, 4}};
    writeSeed(seeds, "plain", plain, {{"1", "Alpha", "1991"}, {"2", std::nullopt, std::nullopt}, {"3", "\xC8\xE3\xF0\xE0", "-5"}});
    const std::vector<OldField> memo{{"N", pxfShort, 2}, {"Text1", pxfMemoBLOb, 250}, {"Text2", pxfMemoBLOb, 20}};
    writeSeed(seeds, "memos", memo,
              {{"1", "short", std::string(40, 'x')}, {"2", std::string(300, 'y'), std::string(5000, 'z')},
               {"3", std::nullopt, "line\r\nline"}});
    std::vector<OldRow> many;
    for (int i = 0; i < 300; ++i) many.push_back({std::to_string(i), "game " + std::to_string(i), std::to_string(i * 7)});
    writeSeed(seeds, "blocks", plain, many);
    return 0;
}
