#include "core/files/shared_library.h"

#include <dlfcn.h>

namespace gamarium::files {

SharedLibrary::SharedLibrary(const std::vector<std::string>& places) {
    for (const std::string& place : places) {
        handle_ = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_) {
            problem_.clear();
            return;
        }
        problem_ = dlerror();
    }
}

void* SharedLibrary::symbol(const char* name) {
    void* found = handle_ ? dlsym(handle_, name) : nullptr;
    if (!found && problem_.empty()) problem_ = std::string("нет функции ") + name;
    return found;
}

} // namespace gamarium::files
