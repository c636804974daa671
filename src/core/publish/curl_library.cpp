#include "core/publish/curl_library.h"

#include "core/error.h"
#include "core/files/shared_library.h"

#include <string>

namespace gamarium::publish {
namespace {

struct LoadedCurl {
    CurlLibrary functions{};
    std::string problem; // why it could not be loaded
};

LoadedCurl load() {
    files::SharedLibrary library({"libcurl.so.4"});
    const auto globalInit = library.function<decltype(curl_global_init)>("curl_global_init");
    LoadedCurl loaded{{
        library.function<decltype(curl_easy_init)>("curl_easy_init"),
        library.function<decltype(curl_easy_cleanup)>("curl_easy_cleanup"),
        library.function<decltype(curl_easy_reset)>("curl_easy_reset"),
        library.function<decltype(curl_easy_setopt)>("curl_easy_setopt"),
        library.function<decltype(curl_easy_perform)>("curl_easy_perform"),
        library.function<decltype(curl_easy_strerror)>("curl_easy_strerror"),
        library.function<decltype(curl_slist_append)>("curl_slist_append"),
        library.function<decltype(curl_slist_free_all)>("curl_slist_free_all"),
        library.function<decltype(curl_url)>("curl_url"),
        library.function<decltype(curl_url_cleanup)>("curl_url_cleanup"),
        library.function<decltype(curl_url_get)>("curl_url_get"),
        library.function<decltype(curl_url_set)>("curl_url_set"),
        library.function<decltype(curl_free)>("curl_free")
    }, library.problem()};
    if (loaded.problem.empty() && globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) loaded.problem = "libcurl не запускается";
    return loaded;
}

} // namespace

const CurlLibrary& curl() {
    static const LoadedCurl loaded = load();
    if (!loaded.problem.empty()) throw Error("Не удаётся загрузить библиотеку libcurl для публикации (" + loaded.problem + ").");
    return loaded.functions;
}

} // namespace gamarium::publish
