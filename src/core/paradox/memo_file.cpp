#include "core/paradox/memo_file.h"

#include "core/error.h"

#include <algorithm>

namespace gamarium::paradox {
namespace {

constexpr std::uint32_t kChunk = 4096;
constexpr std::uint8_t kHeaderBlock = 0;
constexpr std::uint8_t kSingleBlock = 2;
constexpr std::uint8_t kSharedBlock = 3;
constexpr std::uint32_t kOwnBlockIndex = 0xFF;
constexpr std::size_t kBlockHeader = 3;       // type, size in chunks
constexpr std::size_t kSingleHeader = 9;      // ... and length, change count
constexpr std::size_t kPointers = 12;         // where a shared block's pointer table begins
constexpr std::size_t kPointerSize = 5;       // start/16, length/16, change count, length mod 16
constexpr std::uint32_t kPointerCount = 64;
constexpr std::uint32_t kParagraph = 16;

} // namespace

namespace {

bool isHeaderBlock(const std::string& head) {
    return static_cast<std::uint8_t>(head[0]) == kHeaderBlock && lowFirst(head, 1, 2) > 0;
}

} // namespace

bool isMemoFile(const files::Path& file) {
    const std::optional<std::string> head = headOf(file, kBlockHeader);
    return head && isHeaderBlock(*head);
}

MemoFile::MemoFile(const files::Path& file, std::string shownName) : bytes_(file), shownName_(std::move(shownName)) {
    if (!bytes_.read(0, kBlockHeader, block_) || !isHeaderBlock(block_)) damaged("нет заголовка");
}

void MemoFile::damaged(const std::string& what) const {
    throw Error("Файл мемо «" + shownName_ + "» повреждён: " + what + ".");
}

// Memos of neighbouring records mostly share a block: the last one read is kept.
void MemoFile::loadBlock(std::uint32_t start, const std::string& place) {
    blockStart_ = 0;
    if (start == 0 || start % kChunk != 0 || !bytes_.read(start, kBlockHeader, block_)) damaged(place + " вне файла");
    // The last block of a file may end with its last text.
    const std::uint64_t blockSize = std::min<std::uint64_t>(std::uint64_t{lowFirst(block_, 1, 2)} * kChunk, bytes_.size() - start);
    if (blockSize < kSingleHeader || !bytes_.read(start, static_cast<std::size_t>(blockSize), block_))
        damaged(place + ": блок обрезан");
    blockStart_ = start;
}

std::string MemoFile::read(std::uint32_t where, std::uint32_t length) {
    const std::uint32_t start = where & ~std::uint32_t{0xFF};
    const std::uint32_t index = where & 0xFF;
    const std::string place = "мемо по смещению " + std::to_string(start);
    if (start != blockStart_) loadBlock(start, place);
    const auto type = static_cast<std::uint8_t>(block_[0]);
    std::size_t dataAt = 0;
    if (index == kOwnBlockIndex) {
        if (type != kSingleBlock || lowFirst(block_, 3, 4) != length) damaged(place + ": не тот блок");
        dataAt = kSingleHeader;
    } else {
        const std::size_t pointer = kPointers + index * kPointerSize;
        if (type != kSharedBlock || index >= kPointerCount) damaged(place + ": не тот блок");
        if (block_.size() < kPointers + kPointerCount * kPointerSize) damaged(place + ": блок обрезан");
        const std::uint32_t paragraphs = static_cast<unsigned char>(block_[pointer + 1]);
        dataAt = std::size_t{static_cast<unsigned char>(block_[pointer])} * kParagraph;
        if (dataAt < kPointers + kPointerCount * kPointerSize || paragraphs * kParagraph < length ||
            (paragraphs - 1) * kParagraph >= length)
            damaged(place + ": неверный указатель");
    }
    if (dataAt + length > block_.size()) damaged(place + ": текст длиннее блока");
    return block_.substr(dataAt, length);
}

} // namespace gamarium::paradox
