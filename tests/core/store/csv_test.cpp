#include "error.h"
#include "store/csv.h"

#include <gtest/gtest.h>

namespace gamarium::store::csv {
namespace {

TEST(Csv, FormatsAndParsesBackEveryKindOfCell) {
    const std::vector<Row> rows = {
        {"N", "Name", "Text1"},
        {"1", "plain", ""},
        {"2", "a, comma", "\"quoted\""},
        {"3", "", "two\r\nlines\nand a bare LF"},
        {"", "", ""},
    };
    std::string document;
    for (const Row& row : rows) document += formatRow(row);
    EXPECT_EQ(formatRow(rows[2]), "2,\"a, comma\",\"\"\"quoted\"\"\"\r\n");
    EXPECT_EQ(parse(document), rows);
}

TEST(Csv, AcceptsLfLinesAndAMissingLastLineBreak) {
    EXPECT_EQ(parse("a,b\n1,2"), (std::vector<Row>{{"a", "b"}, {"1", "2"}}));
    EXPECT_EQ(parse("a,b\r\n,\r\n"), (std::vector<Row>{{"a", "b"}, {"", ""}}));
}

TEST(Csv, RefusesBrokenQuoting) {
    EXPECT_THROW(parse("a,\"b\r\n1,2\r\n"), Error);
    EXPECT_THROW(parse("a,\"b\"x\r\n"), Error);
}

} // namespace
} // namespace gamarium::store::csv
