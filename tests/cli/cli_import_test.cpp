#include "core/support/cli_runner.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
using gamarium::testing::write;

// A message a user can read: one line, no raw control characters, no
// internal file names.
void expectReadableMessage(const std::string& message) {
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_TRUE(std::none_of(message.begin(), message.end() - 1,
                             [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        << message;
    EXPECT_EQ(message.find(".gamarium-tmp-"), std::string::npos) << message;
}

const std::string kNameOnly = "N,Sid,Name,Region,Publisher,Developer,Year,Ngamers,Type,Genre,File,Size,Image1,Image2,"
                              "Image3,Image4,Image5,Text1,Text2,Text3,Text4,Related,Rsize,Analog,Drname,Rating,Patch\r\n";

// Import refuses whatever it would have to change, and says where; the
// table stays as it was.
TEST(CliImport, TextsArriveUnchangedOrNotAtAll) {
    struct Case {
        const char* what;
        std::string csv;
        std::string options;
        int exitCode;
        std::vector<std::string> said; // in the message, or (on success) in the export
    };
    const std::string mario1251 = "\xCC\xE0\xF0\xE8\xEE";
    const std::string marioUtf8 = "Марио";
    const std::string longName(200, 'L');
    const Case cases[] = {
        {"Windows-1251 read as UTF-8", "Name\r\n" + mario1251 + "\r\n", "", 1, {"строка 2", "Name", "UTF-8"}},
        {"Windows-1251 asked for", "Name\r\n" + mario1251 + "\r\n", "--encoding cp1251", 0, {marioUtf8}},
        {"overlong UTF-8", "Name\r\nA\xC0\xAF\r\n", "", 1, {"строка 2", "Name", "UTF-8"}},
        {"no Windows-1251 form", "Name,Year\r\nok,1\r\n漢字,2\r\n", "", 1, {"строка 3", "Name", "Windows-1251"}},
        {"too long", "Name\r\n" + longName + "\r\n", "", 1, {"строка 2", "Name", "80"}},
        {"cut when asked", "Name\r\n" + longName + "\r\n", "--cut", 0, {"," + std::string(80, 'L') + ","}},
        {"semicolons", "Name;Year\r\nA;1990\r\n", "--delimiter ';'", 0, {",A,,,,1990,"}},
        {"duplicate column", "Name,Year,Name\r\nA,1,B\r\n", "", 1, {"Name"}},
        {"trailing empty line", "Name\r\nA\r\n\r\n", "", 0, {",A,"}},
        {"lone CR line ends", "Name,Year\rA,1\rB,2\r", "", 0, {",B,,,,2,"}},
        {"lone CR, bad third line", "Name,Year\rA,1\rB,x\r", "", 1, {"строка 3", "Year"}},
        {"line after a two-line cell", "Name,Size\r\n\"A\r\nB\",1\r\nC,99999\r\n", "", 1, {"строка 4", "Size", "-32768"}},
        {"beyond 32 bits", "Name,Year\r\nA,3000000000\r\n", "", 1,
         {"3000000000 is not a valid value for field 'Year'. The allowed range is -2147483648 to 2147483647"}},
        {"UTF-16", std::string("\xFF\xFEN\0a\0m\0e\0\r\0\n\0", 14), "", 1, {"UTF-16"}},
        {"NUL in the header", std::string("Na\0me\r\nA\r\n", 10), "", 1, {"строка 1"}},
        {"control character in a column name", "Na\x01me\r\nA\r\n", "", 1, {"строка 1"}},
        {"bad encoding name", "Name\r\nA\r\n", "--encoding koi8", 2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder home;
        ASSERT_EQ(cli(home, "create games").exitCode, 0);
        const auto result = cli(home, "import games " + write(home, "in.csv", c.csv) + " " + c.options);
        const std::string message = errorText(home);
        EXPECT_EQ(result.exitCode, c.exitCode) << message;
        const std::string exported = cli(home, "export games").out;
        if (c.exitCode == 1) {
            expectReadableMessage(message);
            EXPECT_EQ(exported, kNameOnly);
        }
        for (const std::string& text : c.said) {
            const std::string& where = c.exitCode == 0 ? exported : message;
            EXPECT_NE(where.find(text), std::string::npos) << where;
        }
    }
}

TEST(CliImport, CutIsCountedAndWindows1251Exported) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create games").exitCode, 0);
    const auto result =
        cli(home, "import games " + write(home, "in.csv", "Name;Sid\r\n\xCC\xE0\xF0\xE8\xEE;abcd\r\nB;x\r\n") +
                      " --encoding cp1251 --delimiter ';' --cut");
    ASSERT_EQ(result.exitCode, 0) << errorText(home);
    EXPECT_EQ(result.out, "Добавлено: 2, обрезано текстов: 1\n");
    EXPECT_EQ(cli(home, "import games " + write(home, "more.csv", "Name\r\nC\r\n")).out, "Добавлено: 1\n");
    const auto exported = cli(home, "export games --encoding cp1251 --delimiter ';'");
    EXPECT_NE(exported.out.find(";abc;\xCC\xE0\xF0\xE8\xEE;"), std::string::npos) << exported.out;
}

TEST(CliImport, FilesThatAreNoTextGetAMessage) {
    TempFolder home;
    ASSERT_EQ(cli(home, "create games").exitCode, 0);
    for (const std::string& file : {"'" + home.path().string() + "'", std::string("/dev/zero"), std::string("/no/such.csv")}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(cli(home, "import games " + file).exitCode, 1);
        expectReadableMessage(errorText(home));
    }
}

} // namespace
} // namespace gamarium
