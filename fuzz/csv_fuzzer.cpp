// The CSV reader over any document, with ',' or ';' as the delimiter
// (the first byte chooses). What it reads, written out again and read
// back, gives the same cells.
#include "fields_input.h"

#include "core/error.h"
#include "core/store/csv.h"

using namespace gamarium::store;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char delimiter = data[0] % 2 ? ';' : ',';
    std::vector<csv::Record> records;
    try {
        records = csv::parse(gamarium::fuzz::asText(data + 1, size - 1), delimiter);
    } catch (const gamarium::Error&) {
        return 0;
    }
    std::string written;
    for (const csv::Record& record : records) written += csv::formatRow(record.cells, delimiter);
    const std::vector<csv::Record> again = csv::parse(written, delimiter);
    if (again.size() != records.size()) __builtin_trap();
    for (std::size_t i = 0; i < records.size(); ++i)
        if (again[i].cells != records[i].cells) __builtin_trap();
    return 0;
}
