#include "files/executable.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace gamarium::files {

Path executableFolder() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return Path(std::wstring(buffer, length)).parent_path();
#else
    std::error_code ec;
    const Path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : self.parent_path();
#endif
}

} // namespace gamarium::files
