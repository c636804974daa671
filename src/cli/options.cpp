#include "cli/options.h"

#include "core/error.h"
#include "core/find/search_fields.h"
#include "core/pages/page_settings.h"
#include "core/store/record_fields.h"

#include <charconv>
#include <string_view>

namespace gamarium::cli::options {

bool isEncoding(std::string_view value) {
    return value == "utf8" || value == "utf-8" || value == "cp1251";
}

bool isDelimiter(std::string_view value) {
    return value.size() == 1 && std::string_view("\"\r\n").find(value.front()) == std::string_view::npos;
}

bool isSlot(std::string_view value) {
    const int slot = value.size() == 1 ? value.front() - '0' : 0;
    return slot >= 1 && slot <= static_cast<int>(store::games::kPictureFields.size());
}

bool isFindField(std::string_view value) {
    return find::fieldChoice(value).has_value();
}

bool isGamesPerPage(std::string_view value) {
    try {
        return pages::gamesPerPageFromText(value) >= 1;
    } catch (const Error&) {
        return false;
    }
}

bool isJobCount(std::string_view value) {
    unsigned jobs = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), jobs);
    return error == std::errc() && end == value.data() + value.size() && jobs >= 1 && jobs <= kMostJobs;
}

} // namespace gamarium::cli::options
