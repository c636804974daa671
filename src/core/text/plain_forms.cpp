#include "core/text/plain_forms.h"

#include <algorithm>
#include <iterator>

namespace gamarium::text {
namespace {

struct PlainForm {
    char32_t cp;
    std::string_view plain;
};

// The characters that are spelled out, by code point. The README shows
// this table.
constexpr PlainForm kPlainForms[] = {
    {0x00AA, "a"},    {0x00B2, "2"},    {0x00B3, "3"},    {0x00B9, "1"},    {0x00BA, "o"},
    {0x00BC, "1/4"},  {0x00BD, "1/2"},  {0x00BE, "3/4"},  {0x00D7, "x"},    {0x2070, "0"},
    {0x2071, "i"},    {0x2074, "4"},    {0x2075, "5"},    {0x2076, "6"},    {0x2077, "7"},
    {0x2078, "8"},    {0x2079, "9"},    {0x207F, "n"},    {0x2080, "0"},    {0x2081, "1"},
    {0x2082, "2"},    {0x2083, "3"},    {0x2084, "4"},    {0x2085, "5"},    {0x2086, "6"},
    {0x2087, "7"},    {0x2088, "8"},    {0x2089, "9"},    {0x2150, "1/7"},  {0x2151, "1/9"},
    {0x2152, "1/10"}, {0x2153, "1/3"},  {0x2154, "2/3"},  {0x2155, "1/5"},  {0x2156, "2/5"},
    {0x2157, "3/5"},  {0x2158, "4/5"},  {0x2159, "1/6"},  {0x215A, "5/6"},  {0x215B, "1/8"},
    {0x215C, "3/8"},  {0x215D, "5/8"},  {0x215E, "7/8"},  {0x2160, "I"},    {0x2161, "II"},
    {0x2162, "III"},  {0x2163, "IV"},   {0x2164, "V"},    {0x2165, "VI"},   {0x2166, "VII"},
    {0x2167, "VIII"}, {0x2168, "IX"},   {0x2169, "X"},    {0x216A, "XI"},   {0x216B, "XII"},
    {0x216C, "L"},    {0x216D, "C"},    {0x216E, "D"},    {0x216F, "M"},    {0x2170, "i"},
    {0x2171, "ii"},   {0x2172, "iii"},  {0x2173, "iv"},   {0x2174, "v"},    {0x2175, "vi"},
    {0x2176, "vii"},  {0x2177, "viii"}, {0x2178, "ix"},   {0x2179, "x"},    {0x217A, "xi"},
    {0x217B, "xii"},  {0x217C, "l"},    {0x217D, "c"},    {0x217E, "d"},    {0x217F, "m"},
    {0x2189, "0/3"},  {0x3000, " "},    {0xFB00, "ff"},   {0xFB01, "fi"},   {0xFB02, "fl"},
    {0xFB03, "ffi"},  {0xFB04, "ffl"},  {0xFB05, "st"},   {0xFB06, "st"},
};

// The full-width forms U+FF01 to U+FF5E are ASCII "!" to "~".
constexpr char32_t kFirstFullWidth = 0xFF01, kLastFullWidth = 0xFF5E, kFullWidthShift = 0xFEE0;
constexpr std::string_view kAscii = "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

static_assert(kAscii.size() == kLastFullWidth - kFirstFullWidth + 1);
static_assert(std::is_sorted(std::begin(kPlainForms), std::end(kPlainForms),
                             [](const PlainForm& a, const PlainForm& b) { return a.cp < b.cp; }));

} // namespace

std::string_view plainForm(char32_t cp) {
    if (cp >= kFirstFullWidth && cp <= kLastFullWidth) return kAscii.substr(cp - kFullWidthShift - U'!', 1);
    const auto it = std::lower_bound(std::begin(kPlainForms), std::end(kPlainForms), cp,
                                     [](const PlainForm& form, char32_t wanted) { return form.cp < wanted; });
    return it != std::end(kPlainForms) && it->cp == cp ? it->plain : std::string_view();
}

} // namespace gamarium::text
