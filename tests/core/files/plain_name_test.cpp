#include "core/files/plain_name.h"

#include <gtest/gtest.h>

namespace gamarium::files {
namespace {

TEST(PlainName, OnlyANameWithinTheFolder) {
    const std::pair<std::string_view, bool> cases[] = {
        {"mario1.gif", true},   {"a", true},          {"num", true},          {"..hack.png", true},
        {"\xEC\xE0\xF0\xE8\xEE.png", true},           {"two words.png", true}, {"", false},
        {".", false},           {"..", false},        {"/etc/passwd", false}, {"\\x.png", false},
        {"../x.png", false},    {"sub/x.png", false}, {"..\\x.png", false},   {"C:x.png", false},
        {"x.png:stream", false}, {"a\rb.png", false}, {std::string_view("a\0b", 3), false},
        {"\x7F", false},
    };
    for (const auto& [name, plain] : cases) EXPECT_EQ(isPlainName(name), plain) << name;
}

} // namespace
} // namespace gamarium::files
