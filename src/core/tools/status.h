#pragma once

#include "core/text/stored_text.h"

#include <functional>
#include <string>

namespace gamarium::tools {

// Where a tool reports: each line it adds to the editor's status memo
// (a line may hold a carriage return that starts a new line in the memo).
using StatusSink = std::function<void(const text::StoredText& line)>;

// Where a tool that quotes a file's own text reports: UTF-8 lines, so that
// a character Windows-1251 lacks is shown as it is.
using ReportSink = std::function<void(const std::string& utf8Line)>;

// How far a long tool has come: records (or lines) done out of all. The
// window shows it and lets pending window events through meanwhile.
using Progress = std::function<void(int done, int total)>;

} // namespace gamarium::tools
