#pragma once

#include <string>
#include <vector>

namespace gamarium::files {

// A shared library loaded while the program runs, for code that a command
// may never need: its libraries are then never mapped. Loaded once, kept
// for the process's life.
class SharedLibrary {
public:
    // The first of `places` that loads; a bare file name is looked for on
    // the library path.
    explicit SharedLibrary(const std::vector<std::string>& places);

    // The function `name`, or nullptr (and problem() says which is missing).
    template <typename Function>
    Function* function(const char* name) {
        return reinterpret_cast<Function*>(symbol(name));
    }

    // Why the library or one of its functions could not be had; empty when
    // all went well.
    const std::string& problem() const { return problem_; }

private:
    void* symbol(const char* name);

    void* handle_ = nullptr;
    std::string problem_;
};

} // namespace gamarium::files
