#pragma once

#include "core/files/files.h"

#include <string>
#include <string_view>
#include <vector>

// A game's picture folder as the picture chooser sees it. The folder is a
// native path; the pattern and the names are program texts (Windows-1251).
namespace gamarium::pictures {

// The part of a text before its first underscore (all of it without one).
std::string fleft(std::string_view text);

// The file names (not folders) of `folder` that match `mask`, in the order
// the file system gives them. When nothing matches, the mask becomes
// fleft(mask) + "*.*" and the folder is listed once more: a game's name with
// a suffix finds the pictures named by its first word.
std::vector<text::StoredText> scanPictureFolder(const files::Path& folder, std::string& mask);

// The picture folders of a base: images/<base>/ of the program folder.
files::Path basePictureFolder(const files::Path& home, std::string_view base);

// The picture folder of a game: images/<base>/<sid>/ of the program folder,
// each part found whatever its letter case.
files::Path gamePictureFolder(const files::Path& home, std::string_view base, const text::StoredText& sid);

// The file `name` in `folder`, found whatever the letter case of its name.
files::Path pictureFile(const files::Path& folder, const text::StoredText& name);

} // namespace gamarium::pictures
