// Converting every text of a 30,000-game catalogue (names and four text
// panes of 240 characters, Latin and Cyrillic words with ё, № and quotes)
// from UTF-8, as a table's texts are read, and back, as they are written:
// the program's table-driven conversions against the byte-by-byte ones
// they replaced (kept below as the baseline: a decoder that searched 64
// code points for every letter outside А-я). Goal: each at most half the
// baseline's time. Before timing, every text is checked to convert to the
// same bytes both ways.
#include "core/text/cp1251.h"
#include "ratio_reporter.h"

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace gamarium;

constexpr int kGames = 30000;

namespace baseline {

constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t toCodePoint(unsigned char c) {
    if (c < 0x80) return c;
    if (c >= 0xC0) return 0x0410 + (c - 0xC0);
    return kHigh[c - 0x80];
}

char fromCodePoint(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

std::string toUtf8(std::string_view cp1251) {
    if (text::isAscii(cp1251)) return std::string(cp1251);
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (const char c : cp1251) {
        const char32_t cp = toCodePoint(static_cast<unsigned char>(c));
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    if (text::isAscii(utf8)) return std::string(utf8);
    std::string out(utf8.size(), '\0');
    std::size_t length = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out[length++] = static_cast<char>(b);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out[length++] = '?';
            ++i;
            continue;
        }
        bool valid = i + static_cast<std::size_t>(extra) < utf8.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80) valid = false;
            else cp = (cp << 6) | (cont & 0x3F);
        }
        if (!valid) {
            out[length++] = '?';
            ++i;
            continue;
        }
        out[length++] = fromCodePoint(cp);
        i += 1 + extra;
    }
    out.resize(length);
    return out;
}

} // namespace baseline

// The catalogue's texts in Windows-1251 and in UTF-8.
struct Catalogue {
    std::vector<std::string> cp1251, utf8;
    std::vector<text::StoredText> stored; // cp1251 as the program holds it
};

const Catalogue& catalogue() {
    static const Catalogue texts = [] {
        const char* syllables[] = {"ka", "ro", "mi", "ta", "zu", "ne", "po", "li", "да", "ве", "ко", "ра", "ми",
                                   "та", "зу", "не", "по", "ли", "ёж", "вё", "шо", "ен", "ус", "ям", "«й»", "№"};
        std::mt19937 random(5);
        std::vector<std::string> words;
        for (int i = 0; i < 4000; ++i) {
            std::string word;
            for (int k = 0, n = 2 + static_cast<int>(random() % 3); k < n; ++k) word += syllables[random() % 26];
            words.push_back(text::fromUtf8(word).bytes());
        }
        Catalogue c;
        for (int game = 0; game < kGames; ++game) {
            for (const std::size_t length : {std::size_t{12} + random() % 30, std::size_t{240}, std::size_t{240},
                                             std::size_t{240}, std::size_t{240}}) {
                std::string s;
                while (s.size() < length) s += (s.empty() ? "" : " ") + words[random() % words.size()];
                s.resize(length);
                c.stored.push_back(text::StoredText::fromCp1251(s));
                c.utf8.push_back(text::toUtf8(c.stored.back()));
                c.cp1251.push_back(std::move(s));
            }
        }
        return c;
    }();
    return texts;
}

template <typename Text, typename Convert>
void convertAll(benchmark::State& state, const std::vector<Text>& texts, Convert convert) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const Text& t : texts) benchmark::DoNotOptimize(convert(t));
    }
    for (const Text& t : texts) bytes += t.size();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// A table's texts are read into the memory of the last record's (the
// program) or into a new string each (the baseline).
void BM_FromUtf8(benchmark::State& state) {
    text::StoredText value;
    convertAll(state, catalogue().utf8, [&](const std::string& t) {
        text::fromUtf8(t, value);
        return value.bytes().data();
    });
}
void BM_FromUtf8ByteByByte(benchmark::State& state) {
    std::string value;
    convertAll(state, catalogue().utf8, [&](const std::string& t) {
        value = baseline::fromUtf8(t);
        return value.data();
    });
}
void BM_ToUtf8(benchmark::State& state) {
    convertAll(state, catalogue().stored, [](const text::StoredText& t) { return text::toUtf8(t); });
}
void BM_ToUtf8ByteByByte(benchmark::State& state) {
    convertAll(state, catalogue().cp1251, [](const std::string& t) { return baseline::toUtf8(t); });
}
BENCHMARK(BM_FromUtf8)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromUtf8ByteByByte)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToUtf8)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToUtf8ByteByByte)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const Catalogue& texts = catalogue();
    for (std::size_t i = 0; i < texts.utf8.size(); ++i)
        if (text::fromUtf8(texts.utf8[i]).bytes() != baseline::fromUtf8(texts.utf8[i]) ||
            text::toUtf8(texts.stored[i]) != baseline::toUtf8(texts.cp1251[i])) {
            std::fprintf(stderr, "text %zu converts differently from the baseline\n", i);
            return 1;
        }
    return gamarium::bench::runWithRatios(argc, argv,
                                          {{"UTF-8 to Windows-1251, whole catalogue, vs byte by byte", "BM_FromUtf8/repeats:5",
                                            "BM_FromUtf8ByteByByte/repeats:5", 0.5},
                                           {"Windows-1251 to UTF-8, whole catalogue, vs byte by byte", "BM_ToUtf8/repeats:5",
                                            "BM_ToUtf8ByteByByte/repeats:5", 0.5}});
}
