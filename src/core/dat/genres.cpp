#include "core/dat/genres.h"

#include "core/dat/word_list.h"
#include "core/text/cp1251.h"

#include <algorithm>

namespace gamarium::dat {
namespace {

struct GenreType {
    std::string_view word; // lower-cased
    std::string_view type; // as the editor's type list spells it
};

// The genre words of the metadata files and the types they give. The README
// shows this table.
constexpr GenreType kGenreTypes[] = {
    {"action", "Action/Reflex"},
    {"adventure", "Adventure"},
    {"beat'em up", "Beat'm Up"},
    {"beat 'em up", "Beat'm Up"},
    {"brawler", "Beat'm Up"},
    {"board", "Board Game"},
    {"board game", "Board Game"},
    {"casino", "Casino/Cards"},
    {"gambling", "Casino/Cards"},
    {"cards", "Casino/Cards"},
    {"card game", "Casino/Cards"},
    {"fighting", "Fighting"},
    {"pinball", "Pinball"},
    {"platform", "Platform"},
    {"platformer", "Platform"},
    {"puzzle", "Puzzle/Tetris "},
    {"racing", "Race/Driving"},
    {"driving", "Race/Driving"},
    {"role-playing (rpg)", "RPG"},
    {"role-playing", "RPG"},
    {"role playing games", "RPG"},
    {"rpg", "RPG"},
    {"strategy", "Strategy"},
    {"sports", "Sport"},
    {"sport", "Sport"},
    {"shoot'em up", "Shoot'em Up"},
    {"shoot 'em up", "Shoot'em Up"},
    {"shooter", "Shoot'em Up"},
    {"compilation", "Multigame"},
    {"educational", "Edutainment"},
    {"edutainment", "Edutainment"},
    {"first-person shooter", "First-Person-Shooter"},
    {"fps", "First-Person-Shooter"},
    {"flight simulator", "Flight"},
    {"light gun", "Gun Shooting"},
    {"lightgun shooter", "Gun Shooting"},
    {"maze", "Maze"},
    {"music", "Music/Dance"},
    {"rhythm", "Music/Dance"},
    {"dance", "Music/Dance"},
    {"management", "Management"},
    {"simulation", "Simulation"},
    {"quiz", "Trivia/Quiz"},
    {"trivia", "Trivia/Quiz"},
    {"bios", "BIOS"},
    {"demo", "Demo"},
};

std::string_view typeOf(std::string_view word) {
    const std::string lower = text::lowerLatin(word);
    const auto it = std::find_if(std::begin(kGenreTypes), std::end(kGenreTypes),
                                 [&](const GenreType& entry) { return entry.word == lower; });
    return it == std::end(kGenreTypes) ? std::string_view() : it->type;
}

} // namespace

Classification classifyGenre(std::string_view genre) {
    Classification result;
    for (const std::string_view word : listWords(genre, ",/")) {
        const std::string_view type = typeOf(word);
        if (result.type.empty() && !type.empty()) {
            result.type = type;
        } else {
            if (!result.genre.empty()) result.genre += ", ";
            result.genre += word;
        }
    }
    return result;
}

} // namespace gamarium::dat
