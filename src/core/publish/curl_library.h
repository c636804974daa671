#pragma once

#include <curl/curl.h>

// libcurl, and the TLS, SSH and Kerberos libraries under it, is loaded when
// a site is first published or its address read: a program that publishes
// nothing starts without them.
namespace gamarium::publish {

// The functions of libcurl the program calls.
struct CurlLibrary {
    decltype(&curl_easy_init) easyInit;
    decltype(&curl_easy_cleanup) easyCleanup;
    decltype(&curl_easy_reset) easyReset;
    decltype(&curl_easy_setopt) easySetopt;
    decltype(&curl_easy_perform) easyPerform;
    decltype(&curl_easy_strerror) easyStrerror;
    decltype(&curl_slist_append) slistAppend;
    decltype(&curl_slist_free_all) slistFreeAll;
    decltype(&curl_url) url;
    decltype(&curl_url_cleanup) urlCleanup;
    decltype(&curl_url_get) urlGet;
    decltype(&curl_url_set) urlSet;
    decltype(&curl_free) free;
};

// libcurl loaded and initialised, once for the process; throws Error when
// it cannot be loaded.
const CurlLibrary& curl();

} // namespace gamarium::publish
