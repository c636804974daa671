#pragma once

#include <functional>
#include <string>

namespace gamarium::pages {

// Where the generator's own messages go (UTF-8, as Error messages): the
// window shows each in a message box, the command line prints it. An empty
// sink drops them.
using MessageSink = std::function<void(const std::string& message)>;

inline void tell(const MessageSink& sink, const std::string& message) {
    if (sink)
        sink(message);
}

} // namespace gamarium::pages
