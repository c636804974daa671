#pragma once

#include "core/store/record_fields.h"

#include <string>
#include <string_view>

// The editor's picture fields (store::games::kPictureFields), and the names
// of the pictures of a game.
namespace gamarium::editor {

// A game name as the start of its picture files' names: the characters
// ' [ ! ] " , < > ; : / \ ` ~ @ # $ % ^ & * ( ) are dropped, a space becomes
// "_", every other character stays.
std::string minus(std::string_view name);

// The slot character of a control: the last character of its name
// ("EditImage" gives 'e', "EditImage3" '3', "Button2" '2').
char slotOf(std::string_view controlName);

// The picture field a slot character selects: its number from 1 for
// Image1 ('1' and 'e' both mean Image1), 0 for any other character.
int pictureFieldOf(char slot);

// The picture field `number`, from 1 to the number of picture fields.
store::FieldKey pictureField(int number);

} // namespace gamarium::editor
