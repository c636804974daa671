#include "core/editor/classification.h"

#include <utility>

namespace gamarium::editor {

const std::vector<std::string>& typeList() {
    static const std::vector<std::string> types = {
        "Action/Reflex", "Adventure",     "Beat'm Up",   "Board Game",           "Casino/Cards",
        "Fighting",      "Pinball",       "Platform",    "Puzzle/Tetris ",       "Race/Driving",
        "RPG",           "Strategy",      "Sport",       "Shoot'em Up",          "Multigame",
        "",              "Edutainment",   "First-Person-Shooter", "Flight",      "Gun Shooting",
        "Maze",          "Music/Dance",   "Management",  "Simulation",           "Trivia/Quiz",
        "",              "BIOS",          "Cheat Device", "Demo",                "Service Program",
    };
    return types;
}

const std::vector<std::string>& genreListFor(std::string_view type) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> ownLists = {
        {"Sport",
         {"Baseball", "Basketball", "Boxing", "Football", "Golf", "Hockey", "Regby", "Tennis", "", "Billiard",
          "Bowling", "Cricket", "Dodgeball", "Fishing", "Horse", "Kickboxing", "Multigame", "Volleyball",
          "Wrestling"}},
        {"Board Game", {"Chess", "Hanafuda", "Go", "Mahjong", "Multigame", "Other", "Shogi"}},
        {"Race/Driving", {"Circular", "Formula-1", "Moto", "Simulation", "Other"}},
        {"Simulation", {"Business", "Submarine", "Flight"}},
        {"Casino/Cards", {"Cards---", "Pachi Slot", "Multigame"}},
    };
    for (const auto& [name, genres] : ownLists)
        if (name == type) return genres;
    return typeList();
}

const std::vector<std::string>& themeList() {
    static const std::vector<std::string> themes = {"3D",     "Fantasy", "Horror", "Historical",     "Manga",
                                                    "Sexy",   "Tie-In",  "",       "Science Fiction"};
    return themes;
}

std::string withTheme(std::string_view genre, std::string_view theme) {
    if (genre.empty()) return std::string(theme);
    return std::string(genre) + ", " + std::string(theme);
}

} // namespace gamarium::editor
