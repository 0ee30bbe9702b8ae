#pragma once

#include <curl/curl.h>

namespace zuvo
{

/**
    libcurl, loaded when the first request needs it rather than when the
    program starts: only the firmware upgrader's online steps use it, and
    loading it with its TLS stack and the libraries that it needs would cost
    every start.

    The library is looked for under the names that the system's packages
    install; once loaded it stays loaded for the rest of the process, since a
    name look-up that a cancelled request left behind may still return into
    it. get() is safe to call from any thread.
*/
struct CurlLibrary
{
    /** The library, loaded on the first call; nullptr when it cannot be
        loaded, lacks a function that is called here, or fails to start. */
    static const CurlLibrary* get();

    decltype (&curl_easy_init) easy_init = nullptr;
    decltype (&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype (&curl_easy_setopt) easy_setopt = nullptr;
    decltype (&curl_easy_getinfo) easy_getinfo = nullptr;
    decltype (&curl_multi_init) multi_init = nullptr;
    decltype (&curl_multi_cleanup) multi_cleanup = nullptr;
    decltype (&curl_multi_add_handle) multi_add_handle = nullptr;
    decltype (&curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype (&curl_multi_perform) multi_perform = nullptr;
    decltype (&curl_multi_info_read) multi_info_read = nullptr;
    decltype (&curl_multi_poll) multi_poll = nullptr;
    decltype (&curl_multi_wakeup) multi_wakeup = nullptr;
    decltype (&curl_url) url = nullptr;
    decltype (&curl_url_cleanup) url_cleanup = nullptr;
    decltype (&curl_url_set) url_set = nullptr;
    decltype (&curl_url_get) url_get = nullptr;
    decltype (&curl_free) free = nullptr;
};

} // namespace zuvo
