#pragma once

// Large old Paradox tables, written quickly: pxlib writes memos slowly (a
// base of 20,000 games takes minutes), so pxlib makes only the headers of
// an empty table and its memo file, and the blocks are laid out here as
// Paradox lays them out: records high byte first with the sign bit of
// integers flipped, and memos longer than their record part packed up to 64
// to a 4 KiB block behind a table of pointers.
#include "core/support/paradox_writer.h"

namespace gamarium::testing {

class MemoPacker {
public:
    explicit MemoPacker(std::size_t firstBlockAt) : blockAt_(firstBlockAt) { startBlock(); }

    // Packs a memo and returns where its record finds it.
    std::uint32_t add(const std::string& text) {
        const std::size_t paragraphs = (text.size() + 15) / 16;
        if (entries_ == kEntries || free_ + paragraphs * 16 > kBlock) finishBlock();
        const std::size_t pointer = 12 + entries_ * 5;
        block_[pointer] = static_cast<char>(free_ / 16);
        block_[pointer + 1] = static_cast<char>(paragraphs);
        block_[pointer + 2] = 1;
        block_[pointer + 4] = static_cast<char>(text.size() % 16);
        block_.replace(free_, text.size(), text);
        free_ += paragraphs * 16;
        return static_cast<std::uint32_t>(blockAt_ | entries_++);
    }

    // The blocks packed, the last one included.
    std::string blocks() {
        if (entries_ > 0) finishBlock();
        return done_;
    }

private:
    static constexpr std::size_t kBlock = 4096, kEntries = 64, kFirstFree = 12 + 64 * 5 + 4;

    void startBlock() {
        block_.assign(kBlock, '\0');
        block_[0] = 3; // a block of shared memos, one 4 KiB chunk long
        block_[1] = 1;
        entries_ = 0;
        free_ = kFirstFree;
    }
    void finishBlock() {
        done_ += block_;
        blockAt_ += kBlock;
        startBlock();
    }

    std::size_t blockAt_, entries_ = 0, free_ = 0;
    std::string block_, done_;
};

inline std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeLargeOldTable(const std::filesystem::path& file, const std::vector<OldField>& fields,
                               const std::vector<OldRow>& rows, int codePage = 1251) {
    writeOldTable(file, fields, {}, codePage);
    std::string header = readAll(file);
    std::filesystem::path memoFile = file;
    memoFile.replace_extension(".mb");
    std::string memos = readAll(memoFile);
    memos.resize((memos.size() + 4095) / 4096 * 4096, '\0');
    const std::size_t recordSize = lowFirstAt(header, 0, 2), headerSize = lowFirstAt(header, 2, 2);
    const std::size_t blockSize = static_cast<unsigned char>(header[5]) * std::size_t{1024};
    header.resize(headerSize, '\0');
    const std::size_t perBlock = (blockSize - 6) / recordSize;
    const std::size_t blocks = (rows.size() + perBlock - 1) / perBlock;
    MemoPacker packer(memos.size());
    std::string data;
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t first = b * perBlock, count = std::min(perBlock, rows.size() - first);
        std::string block = lowFirstBytes(b + 1 == blocks ? 0 : static_cast<std::uint32_t>(b + 2), 2) +
                            lowFirstBytes(static_cast<std::uint32_t>(b), 2) +
                            lowFirstBytes(static_cast<std::uint32_t>((count - 1) * recordSize), 2);
        for (std::size_t r = first; r < first + count; ++r) {
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const std::optional<std::string>& cell = rows[r][i];
                const auto size = static_cast<std::size_t>(fields[i].size);
                std::string bytes(size, '\0');
                if (cell && (fields[i].type == pxfShort || fields[i].type == pxfLong)) {
                    const auto flipped = static_cast<std::uint32_t>(std::stol(*cell)) ^ (1u << (8 * size - 1));
                    for (std::size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>(flipped >> (8 * (size - 1 - k)));
                } else if (cell && fields[i].type == pxfAlpha) {
                    bytes.replace(0, cell->size(), *cell);
                } else if (cell) {
                    const std::size_t kept = size - 10;
                    bytes.replace(0, std::min(kept, cell->size()), cell->substr(0, kept));
                    const std::uint32_t where = cell->size() > kept ? packer.add(*cell) : 0;
                    bytes.replace(kept, 8, lowFirstBytes(where, 4) + lowFirstBytes(static_cast<std::uint32_t>(cell->size()), 4));
                }
                block += bytes;
            }
        }
        block.resize(blockSize, '\0');
        data += block;
    }
    header.replace(0x06, 4, lowFirstBytes(static_cast<std::uint32_t>(rows.size()), 4));
    header.replace(0x0A, 2, lowFirstBytes(static_cast<std::uint32_t>(blocks + 1), 2));
    header.replace(0x0C, 2, lowFirstBytes(static_cast<std::uint32_t>(blocks), 2));
    header.replace(0x0E, 2, lowFirstBytes(blocks ? 1 : 0, 2));
    header.replace(0x10, 2, lowFirstBytes(static_cast<std::uint32_t>(blocks), 2));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << header << data;
    if (!memos.empty()) std::ofstream(memoFile, std::ios::binary | std::ios::trunc) << memos << packer.blocks();
}

} // namespace gamarium::testing
