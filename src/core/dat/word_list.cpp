#include "core/dat/word_list.h"

#include <algorithm>

namespace gamarium::dat {

std::vector<std::string_view> listWords(std::string_view list, std::string_view separators) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find_first_of(separators, start), list.size());
        std::string_view word = list.substr(start, end - start);
        start = end + 1;
        const std::size_t first = word.find_first_not_of(' ');
        if (first == std::string_view::npos) continue;
        words.push_back(word.substr(first, word.find_last_not_of(' ') - first + 1));
    }
    return words;
}

} // namespace gamarium::dat
