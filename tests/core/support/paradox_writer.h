#pragma once

// Old Paradox tables for tests, written by pxlib (a writer of the format
// that is none of ours), and a few byte changes to spoil them.
#include "core/store/schema.h"

// pxlib's header has no C++ linkage of its own.
extern "C" {
#include <paradox.h>
}

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace gamarium::testing {

struct OldField {
    std::string name;
    char type; // pxfAlpha, pxfShort, pxfLong, pxfMemoBLOb
    int size;  // bytes in the record; a memo keeps size - 10 characters there
};

// One cell per field: nullopt is null; integers as decimal text.
using OldRow = std::vector<std::optional<std::string>>;

// The fields of a table of the program as the old program declared them.
inline std::vector<OldField> oldFieldsOf(const store::TableSchema& schema) {
    std::vector<OldField> fields;
    for (const store::FieldDef& def : schema.fields) {
        switch (def.type) {
        case store::FieldType::SmallInt: fields.push_back({def.name, pxfShort, 2}); break;
        case store::FieldType::Integer: fields.push_back({def.name, pxfLong, 4}); break;
        case store::FieldType::Text: fields.push_back({def.name, pxfAlpha, def.size}); break;
        case store::FieldType::Memo: fields.push_back({def.name, pxfMemoBLOb, def.size + 10}); break;
        }
    }
    return fields;
}

inline void declareCodePage(const std::filesystem::path& file, int codePage);

// Writes `file` (and its .mb beside it when there are memo fields), its
// texts declared in `codePage` (as the old program's were, by default).
inline void writeOldTable(const std::filesystem::path& file, const std::vector<OldField>& fields,
                          const std::vector<OldRow>& rows, int codePage = 1251) {
    PX_boot();
    pxdoc_t* doc = PX_new();
    auto* pxFields = static_cast<pxfield_t*>(std::malloc(sizeof(pxfield_t) * fields.size()));
    bool memos = false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        pxFields[i].px_fname = strdup(fields[i].name.c_str());
        pxFields[i].px_ftype = fields[i].type;
        pxFields[i].px_flen = fields[i].size;
        pxFields[i].px_fdc = 0;
        memos = memos || fields[i].type == pxfMemoBLOb;
    }
    std::filesystem::remove(file);
    if (PX_create_file(doc, pxFields, static_cast<int>(fields.size()), file.c_str(), pxfFileTypNonIndexDB) < 0)
        throw std::runtime_error("pxlib cannot create " + file.string());
    if (memos) {
        std::filesystem::path memo = file;
        memo.replace_extension(".mb");
        std::filesystem::remove(memo);
        if (PX_set_blob_file(doc, memo.c_str()) < 0) throw std::runtime_error("pxlib cannot create " + memo.string());
    }
    // Records are put together here and written by position: pxlib's own
    // insert looks for room through the whole table each time.
    std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::fill(record.begin(), record.end(), '\0');
        char* at = record.data();
        for (std::size_t i = 0; i < fields.size(); at += fields[i].size, ++i) {
            const std::optional<std::string>& cell = rows[r][i];
            if (!cell) continue;
            switch (fields[i].type) {
            case pxfShort: PX_put_data_short(doc, at, 2, static_cast<short>(std::stoi(*cell))); break;
            case pxfLong: PX_put_data_long(doc, at, 4, std::stoi(*cell)); break;
            case pxfAlpha: PX_put_data_alpha(doc, at, fields[i].size, const_cast<char*>(cell->c_str())); break;
            default:
                PX_put_data_blob(doc, at, fields[i].size, const_cast<char*>(cell->data()), static_cast<int>(cell->size()));
            }
        }
        if (PX_put_recordn(doc, record.data(), static_cast<int>(r)) < 0) throw std::runtime_error("pxlib cannot write a record");
    }
    PX_close(doc);
    PX_delete(doc);
    declareCodePage(file, codePage);
}

// Overwrites bytes of a file at `offset`.
inline void patchFile(const std::filesystem::path& file, std::size_t offset, const std::string& bytes) {
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(static_cast<std::streamoff>(offset));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t lowFirstAt(const std::string& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

inline std::string lowFirstBytes(std::uint32_t value, std::size_t width) {
    std::string bytes;
    for (std::size_t i = 0; i < width; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// Deletes a record of the first data block as Paradox does (pxlib's own
// delete crashes on tables with memos): the later records of the block move
// up one place, the old bytes of the last stay behind the block's end, and
// the block and the header count one record less.
inline void deleteOldRecord(const std::filesystem::path& file, std::size_t position) {
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::size_t recordSize = lowFirstAt(bytes, 0, 2), block = lowFirstAt(bytes, 2, 2);
    const std::size_t last = lowFirstAt(bytes, block + 4, 2);
    const std::size_t from = block + 6 + position * recordSize, end = block + 6 + last + recordSize;
    bytes.replace(from, end - from - recordSize, bytes.substr(from + recordSize, end - from - recordSize));
    bytes.replace(block + 4, 2, lowFirstBytes(static_cast<std::uint32_t>(last - recordSize), 2));
    bytes.replace(6, 4, lowFirstBytes(lowFirstAt(bytes, 6, 4) - 1, 4));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The code page the header declares (low byte first at 0x6A).
inline void declareCodePage(const std::filesystem::path& file, int codePage) {
    patchFile(file, 0x6A, std::string{static_cast<char>(codePage & 0xFF), static_cast<char>(codePage >> 8)});
}

} // namespace gamarium::testing
