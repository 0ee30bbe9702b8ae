#include <dlfcn.h>

#include "zuvo_CurlLibrary.h"

namespace zuvo
{

namespace
{
    const char* const libraryNames[] = { "libcurl-gnutls.so.4", "libcurl.so.4", "libcurl.so", "libcurl.4.dylib" };

    template <typename Function>
    bool resolve (void* library, Function& function, const char* name)
    {
        function = library != nullptr ? reinterpret_cast<Function> (dlsym (library, name)) : nullptr;
        return function != nullptr;
    }

    const CurlLibrary* load()
    {
        // Never closed: the library must stay mapped for the process's lifetime.
        void* library = nullptr;

        for (auto* name : libraryNames)
            if ((library = dlopen (name, RTLD_LOCAL | RTLD_NOW)) != nullptr)
                break;

        static CurlLibrary curl;
        auto& c = curl;
        using GlobalInit = decltype (&curl_global_init);
        GlobalInit globalInit = nullptr;

        const auto complete = resolve (library, globalInit, "curl_global_init")
            && resolve (library, c.easy_init, "curl_easy_init")
            && resolve (library, c.easy_cleanup, "curl_easy_cleanup")
            && resolve (library, c.easy_setopt, "curl_easy_setopt")
            && resolve (library, c.easy_getinfo, "curl_easy_getinfo")
            && resolve (library, c.multi_init, "curl_multi_init")
            && resolve (library, c.multi_cleanup, "curl_multi_cleanup")
            && resolve (library, c.multi_add_handle, "curl_multi_add_handle")
            && resolve (library, c.multi_remove_handle, "curl_multi_remove_handle")
            && resolve (library, c.multi_perform, "curl_multi_perform")
            && resolve (library, c.multi_info_read, "curl_multi_info_read")
            && resolve (library, c.multi_poll, "curl_multi_poll")
            && resolve (library, c.multi_wakeup, "curl_multi_wakeup")
            && resolve (library, c.url, "curl_url")
            && resolve (library, c.url_cleanup, "curl_url_cleanup")
            && resolve (library, c.url_set, "curl_url_set")
            && resolve (library, c.url_get, "curl_url_get")
            && resolve (library, c.free, "curl_free");

        if (! complete || globalInit (CURL_GLOBAL_DEFAULT) != CURLE_OK)
            return nullptr;

        return &curl;
    }
}

const CurlLibrary* CurlLibrary::get()
{
    static const CurlLibrary* const library = load();
    return library;
}

} // namespace zuvo
