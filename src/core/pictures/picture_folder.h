#pragma once

#include "files/files.h"

#include <string>
#include <string_view>
#include <vector>

// A game's picture folder as the picture chooser sees it. The folder and the
// pattern are program texts (Windows-1251; the folder ends with a backslash).
namespace gamarium::pictures {

// The part of a text before its first underscore (all of it without one).
std::string fleft(std::string_view text);

// The file names (not folders) of `folder` that match `mask`, in the order
// the file system gives them. When nothing matches, the mask becomes
// fleft(mask) + "*.*" and the folder is listed once more: a game's name with
// a suffix finds the pictures named by its first word.
std::vector<std::string> scanPictureFolder(const std::string& folder, std::string& mask);

// The file `folder` + `name`, found whatever the letter case of its parts.
files::Path pictureFile(const std::string& folder, std::string_view name);

} // namespace gamarium::pictures
