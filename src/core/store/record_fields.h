#pragma once

#include <array>
#include <initializer_list>
#include <string_view>
#include <vector>

// The fields of the game and patch records, each spelt once. The program
// names its own fields only through these constants, so that a misspelt
// field is a compile error rather than a "not found" at run time; the table
// layouts (schema.cpp) are built from them too.
namespace gamarium::store {

class FieldKey {
public:
    // For a name that comes from outside the program (a file's header, a
    // field named on the command line); the program's own fields are the
    // constants below.
    constexpr explicit FieldKey(std::string_view name) : name_(name) {}
    constexpr std::string_view name() const { return name_; }
    constexpr bool operator==(const FieldKey&) const = default;

private:
    std::string_view name_;
};

namespace games {
inline constexpr FieldKey N{"N"};
inline constexpr FieldKey Sid{"Sid"};
inline constexpr FieldKey Name{"Name"};
inline constexpr FieldKey Region{"Region"};
inline constexpr FieldKey Publisher{"Publisher"};
inline constexpr FieldKey Developer{"Developer"};
inline constexpr FieldKey Year{"Year"};
inline constexpr FieldKey Ngamers{"Ngamers"};
inline constexpr FieldKey Type{"Type"};
inline constexpr FieldKey Genre{"Genre"};
inline constexpr FieldKey File{"File"};
inline constexpr FieldKey Size{"Size"};
inline constexpr FieldKey Image1{"Image1"};
inline constexpr FieldKey Image2{"Image2"};
inline constexpr FieldKey Image3{"Image3"};
inline constexpr FieldKey Image4{"Image4"};
inline constexpr FieldKey Image5{"Image5"};
inline constexpr FieldKey Text1{"Text1"};
inline constexpr FieldKey Text2{"Text2"};
inline constexpr FieldKey Text3{"Text3"};
inline constexpr FieldKey Text4{"Text4"};
inline constexpr FieldKey Related{"Related"};
inline constexpr FieldKey Rsize{"Rsize"};
inline constexpr FieldKey Analog{"Analog"};
inline constexpr FieldKey Drname{"Drname"};
inline constexpr FieldKey Rating{"Rating"};
inline constexpr FieldKey Patch{"Patch"};

// The picture fields in their order: the table keeps them side by side, the
// editor shows one control each, and every tool that looks at a game's
// pictures goes through this list.
inline constexpr std::array kPictureFields{Image1, Image2, Image3, Image4, Image5};

// `first` and then the picture fields: what a pass over every game's
// pictures reads.
inline std::vector<FieldKey> withPictureFields(std::initializer_list<FieldKey> first) {
    std::vector<FieldKey> fields(first);
    fields.insert(fields.end(), kPictureFields.begin(), kPictureFields.end());
    return fields;
}
} // namespace games

namespace patches {
inline constexpr FieldKey N{"N"};
inline constexpr FieldKey Patch{"Patch"};
inline constexpr FieldKey Size{"Size"};
inline constexpr FieldKey Proc{"Proc"};
inline constexpr FieldKey Text{"Text"};
inline constexpr FieldKey Autor{"Autor"};
inline constexpr FieldKey Year{"Year"};
} // namespace patches

} // namespace gamarium::store
