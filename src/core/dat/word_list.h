#pragma once

#include <string_view>
#include <vector>

namespace gamarium::dat {

// The words of a list such as "USA, Europe": the parts between any of the
// `separators`, without their outer spaces, empty parts left out.
std::vector<std::string_view> listWords(std::string_view list, std::string_view separators);

} // namespace gamarium::dat
