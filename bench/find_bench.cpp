// Finding games as the user types, over 30,000 games whose four text panes
// hold 240 characters each: the time of one search (every match found, the
// first 100 described as a result list shows them) against the 30 ms a
// keystroke may take; and, for scale, reading the table's texts into memory
// once.
#include "core/find/find_games.h"
#include "core/find/game_texts.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"
#include "goal_reporter.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

namespace {

namespace fs = std::filesystem;
using namespace gamarium;

constexpr int kGames = 30000;
constexpr double kGoalMilliseconds = 30;
// A result list describes only the rows it shows; a screenful and more.
constexpr std::size_t kShownResults = 100;

// A vocabulary of 4,000 made-up words of Latin and Cyrillic syllables, and
// a few real ones that the searches look for.
const std::vector<std::string>& words() {
    static const std::vector<std::string> list = [] {
        const char* syllables[] = {"ka", "ro", "mi", "ta", "zu", "ne", "po", "li", "da", "ve", "ко", "ра", "ми",
                                   "та", "зу", "не", "по", "ли", "да", "вё", "шо", "ен", "ус", "ям"};
        std::mt19937 random(3);
        std::vector<std::string> w;
        for (int i = 0; i < 4000; ++i) {
            std::string word;
            for (int k = 0, n = 2 + static_cast<int>(random() % 3); k < n; ++k) word += syllables[random() % 24];
            w.push_back(text::fromUtf8(word).bytes());
        }
        for (const char* utf8 : {"дракон", "ёлка", "пароль", "boss", "Mode 7", "Konami"}) w.push_back(text::fromUtf8(utf8).bytes());
        return w;
    }();
    return list;
}

std::string sentence(std::mt19937& random, std::size_t length) {
    std::string s;
    while (s.size() < length) {
        if (!s.empty()) s += random() % 8 == 0 ? ". " : " ";
        s += words()[random() % words().size()];
    }
    s.resize(length);
    return s;
}

fs::path benchFolder() {
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "gamarium-find-bench";
        fs::remove_all(path);
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

store::Table& bigBase() {
    static std::unique_ptr<store::Table> games = [] {
        store::Table::create(benchFolder(), "big.db", store::gameTableSchema());
        auto table = std::make_unique<store::Table>(benchFolder(), "big.db");
        table->open();
        std::mt19937 random(7);
        const char* publishers[] = {"Konami", "Capcom", "Nintendo", "Squaresoft", "Enix", "Taito", "Hudson Soft"};
        table->runAsOneTransaction([&] {
            for (int i = 0; i < kGames; ++i) {
                table->append();
                table->fieldByName("N").setAsInteger(i + 1);
                table->fieldByName("Name").setAsString(text::StoredText::fromCp1251(sentence(random, 12 + random() % 30)));
                table->fieldByName("Region").setAsString("u"_stored);
                table->fieldByName("Publisher").setAsString(text::StoredText::fromCp1251(publishers[random() % 7]));
                table->fieldByName("Developer").setAsString(text::StoredText::fromCp1251(publishers[random() % 7]));
                table->fieldByName("Year").setAsInteger(1985 + static_cast<int>(random() % 15));
                table->fieldByName("File").setAsString(text::StoredText::fromCp1251("roms/game" + std::to_string(i) + ".zip"));
                for (int pane = 1; pane <= 4; ++pane)
                    table->fieldByName("Text" + std::to_string(pane)).setAsString(text::StoredText::fromCp1251(sentence(random, 240)));
                table->post();
            }
        });
        return table;
    }();
    return *games;
}

const find::GameTexts& texts() {
    static const find::GameTexts loaded = [] {
        find::GameTexts t;
        t.reload(bigBase());
        return t;
    }();
    return loaded;
}

void search(benchmark::State& state, const char* utf8, find::FieldSet fields, bool wholeWord) {
    const auto games = texts().snapshot();
    const find::FindQuery query{text::fromUtf8(utf8), fields, wholeWord};
    std::size_t found = 0;
    for (auto _ : state) {
        const auto matches = find::findGames(*games, query, [] { return false; }).matches;
        for (std::size_t i = 0; i < std::min(matches.size(), kShownResults); ++i)
            benchmark::DoNotOptimize(find::describe(*games, matches[i]));
        found = matches.size();
    }
    state.counters["matches"] = static_cast<double>(found);
}

void BM_ReadTexts(benchmark::State& state) {
    bigBase();
    for (auto _ : state) {
        find::GameTexts t;
        t.reload(bigBase());
        benchmark::DoNotOptimize(t.size());
    }
}
BENCHMARK(BM_ReadTexts)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

#define FIND_BENCHMARK(name, ...)                                                                                      \
    void name(benchmark::State& state) { search(state, __VA_ARGS__); }                                               \
    BENCHMARK(name)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)

FIND_BENCHMARK(BM_FindRareWordAnyField, "Mode 7", find::FieldSet::all(), false);
FIND_BENCHMARK(BM_FindCyrillicAnyField, "ДРАКОН", find::FieldSet::all(), false);
FIND_BENCHMARK(BM_FindYoAsYeAnyField, "елка", find::FieldSet::all(), false);
FIND_BENCHMARK(BM_FindOneLetterAnyField, "a", find::FieldSet::all(), false);
FIND_BENCHMARK(BM_FindWholeWordAnyField, "boss", find::FieldSet::all(), true);
FIND_BENCHMARK(BM_FindPublisher, "konami", *find::fieldChoice("Publisher"), false);
FIND_BENCHMARK(BM_FindThirdPane, "пароль", *find::fieldChoice("Text3"), false);

} // namespace

int main(int argc, char** argv) {
    const int status = gamarium::bench::runAgainstGoal(argc, argv, "BM_Find", kGoalMilliseconds);
    fs::remove_all(benchFolder());
    return status;
}
