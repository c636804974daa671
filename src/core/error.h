#pragma once

#include <stdexcept>
#include <string>

namespace gamarium {

// The one error type of the program. Its message is meant for the user
// (UTF-8); the windows show it in a message box, the CLI prints it.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace gamarium
