#pragma once

#include <functional>
#include <istream>
#include <string>
#include <vector>

// The clrmamepro text syntax: top-level blocks `word ( items )`, where an
// item is `key value` (a quoted string with \" and \\ escapes, or a bare
// word) or `key ( items )`.
namespace gamarium::dat {

struct ClrItem {
    std::string key;
    std::string value;          // a value item's text
    std::vector<ClrItem> items; // a block's items
    bool block = false;
    int line = 0;
};

// Reads the blocks of a clrmamepro text and hands each to `visit` once it is
// whole; a block is forgotten after its visit, so a large file takes little
// memory. Damaged syntax (an unclosed quote or bracket, a key without a
// value, blocks nested past all reason) throws DamagedDat with its line,
// counted from `firstLine` for the stream's first line.
void readClrmameproBlocks(std::istream& in, int firstLine, const std::function<void(const ClrItem& block)>& visit);

} // namespace gamarium::dat
