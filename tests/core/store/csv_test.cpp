#include "core/error.h"
#include "core/store/csv.h"

#include <gtest/gtest.h>

namespace gamarium::store::csv {
namespace {

std::vector<Row> cellsOf(const std::vector<Record>& records) {
    std::vector<Row> rows;
    for (const Record& record : records) rows.push_back(record.cells);
    return rows;
}

std::vector<std::size_t> linesOf(const std::vector<Record>& records) {
    std::vector<std::size_t> lines;
    for (const Record& record : records) lines.push_back(record.line);
    return lines;
}

TEST(Csv, FormatsAndParsesBackEveryKindOfCell) {
    const std::vector<Row> rows = {
        {"N", "Name", "Text1"},
        {"1", "plain", ""},
        {"2", "a, comma", "\"quoted\""},
        {"3", "a; semicolon", "two\r\nlines\nand a bare LF\rand a bare CR"},
        {"", "", ""},
    };
    for (const char delimiter : {',', ';'}) {
        std::string document;
        for (const Row& row : rows) document += formatRow(row, delimiter);
        EXPECT_EQ(cellsOf(parse(document, delimiter)), rows) << delimiter;
    }
    EXPECT_EQ(formatRow(rows[2]), "2,\"a, comma\",\"\"\"quoted\"\"\"\r\n");
    EXPECT_EQ(formatRow(rows[3], ';').substr(0, 18), "3;\"a; semicolon\";\"");
}

TEST(Csv, EveryLineEndCountsAndRecordsKnowTheirLine) {
    struct Case {
        std::string document;
        std::vector<Row> rows;
        std::vector<std::size_t> lines;
    };
    const Case cases[] = {
        {"a,b\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"a,b\r\n,\r\n", {{"a", "b"}, {"", ""}}, {1, 2}},
        {"a,b\r1,2\r3,4\r", {{"a", "b"}, {"1", "2"}, {"3", "4"}}, {1, 2, 3}},
        {"a\r\nx\r\n\r\n\n", {{"a"}, {"x"}}, {1, 2}},
        {"a,b\r\n\"1\r\n2\r3\",x\r\ny,z\r\n", {{"a", "b"}, {"1\r\n2\r3", "x"}, {"y", "z"}}, {1, 2, 5}},
    };
    for (const Case& c : cases) {
        const auto records = parse(c.document);
        EXPECT_EQ(cellsOf(records), c.rows) << c.document;
        EXPECT_EQ(linesOf(records), c.lines) << c.document;
    }
}

TEST(Csv, RefusesBrokenQuoting) {
    EXPECT_THROW(parse("a,\"b\r\n1,2\r\n"), Error);
    EXPECT_THROW(parse("a,\"b\"x\r\n"), Error);
}

} // namespace
} // namespace gamarium::store::csv
