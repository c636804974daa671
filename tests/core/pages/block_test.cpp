#include "core/pages/block.h"
#include "core/text/cp1251.h"

#include <gtest/gtest.h>

#include <functional>

namespace gamarium::pages {
namespace {

using text::fromUtf8;
using text::toUtf8;

GameRecord contra() {
    GameRecord game;
    game.name = "Contra";
    game.region = "u";
    game.text1 = "Run and gun.";
    game.sid = "c";
    game.image1 = "contra.png";
    game.publisher = "Konami";
    game.year = "1988";
    game.type = "Action";
    game.genre = "Shooter";
    game.ngamers = "2";
    game.size = "128";
    game.file = "contra.zip";
    game.rating = "75";
    game.ratingValue = 75;
    return game;
}

PatchRecord russian() {
    return {.patch = "contra_r.zip", .size = "64", .proc = "100", .language = "ur", .autor = "Shedevr", .year = "2001"};
}

struct Input {
    GameRecord game = contra();
    std::optional<PatchRecord> patch;
    pictures::PictureSize picture{256, 224};
};

struct Case {
    const char* what;
    std::function<void(Input&)> change;
    const char* blockTemplate;
    const char* expected; // UTF-8 here, Windows-1251 in the page
    int messages = 0;
};

void check(const Case& c) {
    Input in;
    if (c.change)
        c.change(in);
    int told = 0;
    const std::string out = renderBlock(fromUtf8(c.blockTemplate).bytes(), in.game, in.patch ? &*in.patch : nullptr, in.picture, BlockSettings{},
                                        [&](const std::string& message) {
                                            EXPECT_EQ(message, "!!!!!!!!!!!!!");
                                            ++told;
                                        });
    EXPECT_EQ(out, fromUtf8(c.expected).bytes()) << c.what << "\n" << toUtf8(text::StoredText::fromCp1251(out));
    EXPECT_EQ(told, c.messages) << c.what;
}

TEST(PagesBlock, Placeholders) {
    const Case cases[] = {
        {"capital and small letters; only the first occurrence", nullptr, "$NAME|$name|$nAmE", "Contra|$name|$nAmE"},
        {"a placeholder twice", nullptr, "$Size $Size", "128 $Size"},
        {"no $Name: the rest is still filled", nullptr, "[$Gamers]", "[2]"},
        {"$Genre inside the text is filled there", [](Input& in) { in.game.text1 = "Genre: $Genre"; },
         "$Text / $Genre", "Genre: Action, Shooter / $Genre"},
        {"other $-words pass", nullptr, "$P$N$R$S $LETTER", "$P$N$R$S $LETTER"},
        {"every field", nullptr,
         "$Name|$Region|$Width|$Height|$Image|$Autor|$Genre|$Gamers|$Size|$Pfile|$Lfile|$Rating|$Patch|$Text",
         "Contra|<td align=\"right\">&nbsp<img src=\"u.gif\" width=\"27\" height=\"21\" align=\"absmiddle\"></td>|"
         "256|224|i/c/contra.png|&copy; Konami, 1988<br>|Action, Shooter|2|128|contra.zip|s|75||Run and gun."},
    };
    for (const Case& c : cases)
        check(c);
}

TEST(PagesBlock, NameAndText) {
    const std::string fifty(50, 'x');
    const std::string fortyNine(49, 'y');
    const Case cases[] = {
        {"50 characters with two region letters: cut to 46 and given whole in the text",
         [&](Input& in) {
             in.game.name = fifty;
             in.game.region = "ej";
         },
         "$Name|$Text",
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...|Полное название РОМа:<br><b>"
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx</b><br><br>Run and gun."},
        {"49 characters with two region letters: not cut",
         [&](Input& in) {
             in.game.name = fortyNine;
             in.game.region = "ej";
         },
         "$Name|$Text", "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy|Run and gun."},
        {"CR becomes <br>, LF stays", [](Input& in) { in.game.text1 = "a\r\nb\r"; }, "$Text", "a<br>\nb<br>"},
        {"Drname with ;", [](Input& in) { in.game.drname = "A;B;C"; }, "$Text",
         "Run and gun.<br><br>Другие названия игры - <b>A,B,C</b>"},
        {"Drname without ;", [](Input& in) { in.game.drname = "Probotector"; }, "$Text",
         "Run and gun.<br><br>По-другому эта игра называлась <b>Probotector</b>"},
        {"Analog of two entries", [](Input& in) { in.game.analog = "Alpha (e);Beta (u)"; }, "$Text",
         "Run and gun.<br><br>В Европе эта игра увидела свет как <b>Alpha </b><br>А в США как <b>Beta</b>"},
        {"an unknown second letter keeps the first word", [](Input& in) { in.game.analog = "Alpha (j);Beta (x)"; },
         "$Text", "Run and gun.<br><br>В Японии эта игра увидела свет как <b>Alpha </b><br>А в Японии как <b>Beta</b>",
         1},
        {"an unknown first letter gives no word", [](Input& in) { in.game.analog = "Alpha (x)"; }, "$Text",
         "Run and gun.<br><br>В  эта игра увидела свет как <b>Alpha </b>", 1},
        {"entries too short for a letter", [](Input& in) { in.game.analog = "e;"; }, "$Text",
         "Run and gun.<br><br>В  эта игра увидела свет как <b></b><br>А в  как <b></b>", 2},
        {"a further ; stays in entry 2", [](Input& in) { in.game.analog = "A (u);B;C (e)"; }, "$Text",
         "Run and gun.<br><br>В США эта игра увидела свет как <b>A </b><br>А в Европе как <b>B;C</b>"},
        {"the Analog message comes without $Text too", [](Input& in) { in.game.analog = "A (q)"; }, "$Name",
         "Contra", 1},
    };
    for (const Case& c : cases)
        check(c);
}

TEST(PagesBlock, RegionPictureAndCredits) {
    const Case cases[] = {
        {"two flags", [](Input& in) { in.game.region = "ej"; }, "$Region",
         "<td align=\"right\">&nbsp<img src=\"e.gif\" width=\"27\" height=\"21\" align=\"absmiddle\">"
         "&nbsp<img src=\"j.gif\" width=\"27\" height=\"21\" align=\"absmiddle\"></td>"},
        {"no region", [](Input& in) { in.game.region = ""; }, "$Region", "<td align=\"right\"></td>"},
        {"512 x 448 is halved", [](Input& in) { in.picture = {512, 448}; }, "$Width $Height", "256 224"},
        {"400 x 300 stays", [](Input& in) { in.picture = {400, 300}; }, "$Width $Height", "400 300"},
        {"each side on its own, rounded down", [](Input& in) { in.picture = {641, 240}; }, "$Width $Height", "320 240"},
        {"Sid as it stands", [](Input& in) { in.game.sid = "Num"; }, "$Image", "i/Num/contra.png"},
        {"publisher and developer", [](Input& in) { in.game.developer = "Konami Osaka"; }, "$Autor",
         "&copy; Konami, Konami Osaka, 1988<br>"},
        {"patch authors follow", [](Input& in) { in.patch = russian(); }, "$Autor",
         "&copy; Konami, 1988<br>&copy; Shedevr, 2001<br>"},
        {"genre without type", [](Input& in) { in.game.type = ""; }, "$Genre", ", Shooter"},
        {"no ROM file", [](Input& in) { in.game.file = ""; }, "$Pfile $Lfile", "../../disk.htm d"},
    };
    for (const Case& c : cases)
        check(c);
}

TEST(PagesBlock, RatingBar) {
    struct Rating {
        const char* text;
        std::int64_t value;
        const char* shown;
        const char* filled;
        const char* rest;
    };
    const Rating ratings[] = {
        {"75", 75, "75", "90", "30"},    {"33", 33, "33", "39", "81"},   {"100", 100, "100", "120", "0"},
        {"0", 0, "0", "0", "120"},       {"", 0, "--", "36", "36"},      {"150", 150, "150", "120", "0"},
        {"-10", -10, "-10", "0", "120"},
    };
    for (const Rating& r : ratings) {
        const std::string expected = std::string(r.shown) + "|<img src=\"rv.gif\" width=\"1\" height=\"12\">" +
                                     "<img src=\"rt1.gif\" width=\"" + r.filled + "\" height=\"12\">" +
                                     "<img src=\"rt2.gif\" width=\"" + r.rest + "\" height=\"12\">" +
                                     "<img src=\"rv.gif\" width=\"1\" height=\"12\">";
        check({r.text,
               [&](Input& in) {
                   in.game.rating = r.text;
                   in.game.ratingValue = r.value;
               },
               "$Rating|$IRating", expected.c_str()});
    }
}

TEST(PagesBlock, PatchParagraph) {
    const auto with = [](std::function<void(PatchRecord&)> change) {
        return [change](Input& in) {
            in.patch = russian();
            change(*in.patch);
        };
    };
    const auto paragraph = [](std::string path, std::string badge, std::string size, std::string tail) {
        return "<p><a href=\"../../patch/snes/" + path + "\"><img src=\"t" + badge +
               ".gif\" width=\"65\" height=\"21\" align=\"absmiddle\" border=\"0\"></a><b> ( " + size +
               " Кб )</b>" + tail + "</p>";
    };
    const std::string expected[] = {
        paragraph("contra_r.zip", "ur", "64", ""),
        paragraph("contra_r.zip", "jr", "64", " - 80%"),
        paragraph("ext/contra_r.zip", "ju", "64", ""),
        paragraph("contra_r.zip", "ur", "64", " - %"),
        paragraph("ext/contra_r.zip", "r", "64", ""),
        "&copy; Konami, 1988<br>&copy; , <br>" + paragraph("ext/", "", "", " - %"),
    };
    const Case cases[] = {
        {"Russian, complete", with([](PatchRecord&) {}), "$Patch", expected[0].c_str()},
        {"jr goes through the Russian path", with([](PatchRecord& p) { p.language = "jr"; p.proc = "80"; }), "$Patch",
         expected[1].c_str()},
        {"ju goes through the other path", with([](PatchRecord& p) { p.language = "ju"; }), "$Patch",
         expected[2].c_str()},
        {"empty Proc still has the dash", with([](PatchRecord& p) { p.proc = ""; }), "$Patch", expected[3].c_str()},
        {"a one-letter code is not Russian", with([](PatchRecord& p) { p.language = "r"; }), "$Patch",
         expected[4].c_str()},
        {"an empty patch record", [](Input& in) { in.patch = PatchRecord{}; }, "$Autor$Patch", expected[5].c_str()},
        {"no patch", nullptr, "[$Patch]", "[]"},
    };
    for (const Case& c : cases)
        check(c);
}

} // namespace
} // namespace gamarium::pages
