#include "core/publish/curl_library.h"

#include "core/error.h"

#include <string>

#include <dlfcn.h>

namespace gamarium::publish {
namespace {

constexpr const char* kCurl = "libcurl.so.4";

struct LoadedCurl {
    CurlLibrary functions{};
    std::string problem; // why it could not be loaded
};

template <typename Function>
void find(void* library, const char* name, Function& function, std::string& problem) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function && problem.empty()) problem = std::string(kCurl) + ": нет функции " + name;
}

LoadedCurl load() {
    LoadedCurl loaded;
    void* library = dlopen(kCurl, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        loaded.problem = dlerror();
        return loaded;
    }
    CurlLibrary& f = loaded.functions;
    std::string& problem = loaded.problem;
    find(library, "curl_easy_init", f.easyInit, problem);
    find(library, "curl_easy_cleanup", f.easyCleanup, problem);
    find(library, "curl_easy_reset", f.easyReset, problem);
    find(library, "curl_easy_setopt", f.easySetopt, problem);
    find(library, "curl_easy_perform", f.easyPerform, problem);
    find(library, "curl_easy_strerror", f.easyStrerror, problem);
    find(library, "curl_slist_append", f.slistAppend, problem);
    find(library, "curl_slist_free_all", f.slistFreeAll, problem);
    find(library, "curl_url", f.url, problem);
    find(library, "curl_url_cleanup", f.urlCleanup, problem);
    find(library, "curl_url_get", f.urlGet, problem);
    find(library, "curl_url_set", f.urlSet, problem);
    find(library, "curl_free", f.free, problem);
    decltype(&curl_global_init) globalInit = nullptr;
    find(library, "curl_global_init", globalInit, problem);
    if (problem.empty() && globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) problem = "libcurl не запускается";
    return loaded;
}

} // namespace

const CurlLibrary& curl() {
    static const LoadedCurl loaded = load();
    if (!loaded.problem.empty()) throw Error("Не удаётся загрузить библиотеку libcurl для публикации (" + loaded.problem + ").");
    return loaded.functions;
}

} // namespace gamarium::publish
