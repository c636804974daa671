#include "dat/dat_game.h"

namespace gamarium::dat {

void fillUnset(Metadata& known, const Metadata& said) {
    for (auto [to, from] : {std::pair{&known.developer, &said.developer}, {&known.publisher, &said.publisher},
                            {&known.releaseYear, &said.releaseYear}, {&known.genre, &said.genre},
                            {&known.users, &said.users}})
        if (!*to && *from) *to = *from;
}

} // namespace gamarium::dat
