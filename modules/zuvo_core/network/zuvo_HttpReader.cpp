#include <curl/curl.h>

namespace zuvo
{

namespace
{
    juce::String schemeOf (const juce::String& address)
    {
        return address.upToFirstOccurrenceOf ("://", false, false).toLowerCase();
    }

    bool isWebScheme (const juce::String& scheme)
    {
        return scheme == "http" || scheme == "https";
    }

    bool isRedirect (long status)
    {
        return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    }

    /** Header bytes as ISO 8859-1, the character set of HTTP headers: every byte is a character. */
    juce::String headerText (const char* data, size_t size)
    {
        juce::String text;
        text.preallocateBytes (size * 2);

        for (size_t i = 0; i < size; ++i)
            text += (juce::juce_wchar) (unsigned char) data[i];

        return text;
    }

    void initialiseCurlOnce()
    {
        static const auto initialised = curl_global_init (CURL_GLOBAL_DEFAULT);
        juce::ignoreUnused (initialised);
    }

    /** The one length that the Content-Length headers give: -1 without any,
        -2 when they disagree or one is no number. */
    juce::int64 declaredLengthOf (const HttpAnswer& answer)
    {
        juce::int64 length = -1;

        for (const auto& header : answer.valuesOf ("Content-Length"))
        {
            // One header may list the length several times, separated by commas.
            for (const auto& item : juce::StringArray::fromTokens (header, ",", {}))
            {
                const auto digits = item.trim();

                if (digits.isEmpty() || ! digits.containsOnly ("0123456789") || digits.length() > 15)
                    return -2;

                if (length >= 0 && digits.getLargeIntValue() != length)
                    return -2;

                length = digits.getLargeIntValue();
            }
        }

        return length;
    }

    bool isChunked (const HttpAnswer& answer)
    {
        for (const auto& encoding : answer.valuesOf ("Transfer-Encoding"))
            if (encoding.containsIgnoreCase ("chunked"))
                return true;

        return false;
    }

    void setProtocolsToWeb (CURL* easy)
    {
       #if LIBCURL_VERSION_NUM >= 0x075500
        curl_easy_setopt (easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt (easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
       #else
        curl_easy_setopt (easy, CURLOPT_PROTOCOLS, (long) (CURLPROTO_HTTP | CURLPROTO_HTTPS));
        curl_easy_setopt (easy, CURLOPT_REDIR_PROTOCOLS, (long) (CURLPROTO_HTTP | CURLPROTO_HTTPS));
       #endif
    }
}

juce::StringArray HttpAnswer::valuesOf (const juce::String& headerName) const
{
    juce::StringArray values;

    for (const auto& header : headers)
        if (header.first.equalsIgnoreCase (headerName))
            values.add (header.second);

    return values;
}

//==============================================================================
/** What one request's callbacks share. */
struct HttpReader::Transfer
{
    CURL* easy;
    HttpAnswer& answer;
    juce::int64 maxBodyBytes;
    bool headEnded = false;

    static size_t onHeader (char* data, size_t size, size_t count, void* user)
    {
        auto& t = *static_cast<Transfer*> (user);
        const auto length = size * count;
        const auto line = headerText (data, length).trimCharactersAtEnd ("\r\n");
        auto& headers = t.answer.headers;

        if (line.startsWith ("HTTP/"))
        {
            // A new answer begins: an interim one (1xx) before it counts no more.
            headers.clear();
            return length;
        }

        if (line.isEmpty())
        {
            long status = 0;
            curl_easy_getinfo (t.easy, CURLINFO_RESPONSE_CODE, &status);

            if (status >= 100 && status <= 199)
                return length;

            t.headEnded = true;
            t.answer.statusCode = (int) status;

            // Nothing after the head is wanted from a redirect or a status-only request.
            return t.maxBodyBytes < 0 || isRedirect (status) ? 0 : length;
        }

        if ((line.startsWithChar (' ') || line.startsWithChar ('\t')) && ! headers.empty())
            headers.back().second = (headers.back().second + " " + line.trim()).trim();
        else if (line.containsChar (':'))
            headers.emplace_back (line.upToFirstOccurrenceOf (":", false, false).trim(),
                                  line.fromFirstOccurrenceOf (":", false, false).trim());

        return length;
    }

    static size_t onBody (char* data, size_t size, size_t count, void* user)
    {
        auto& t = *static_cast<Transfer*> (user);
        const auto length = size * count;
        auto& body = t.answer.body;

        // One byte more than the limit tells a body that is too long from one that just fits.
        const auto room = (size_t) (t.maxBodyBytes + 1) - body.getSize();
        body.append (data, juce::jmin (length, room));

        return length <= room ? length : 0;
    }
};

//==============================================================================
bool HttpReader::mayFollowRedirect (const juce::String& from, const juce::String& to)
{
    const auto target = schemeOf (to);
    return isWebScheme (target) && ! (schemeOf (from) == "https" && target != "https");
}

juce::String HttpReader::resolveLocation (const juce::String& from, const juce::String& location)
{
    if (location.isEmpty())
        return {};

    // A fragment alone keeps the whole address, query included (libcurl would
    // resolve it against the folder).
    if (location.startsWithChar ('#'))
        return from.upToFirstOccurrenceOf ("#", false, false) + location;

    juce::String resolved;

    if (auto* url = curl_url())
    {
        char* text = nullptr;

        if (curl_url_set (url, CURLUPART_URL, from.toRawUTF8(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK
            && curl_url_set (url, CURLUPART_URL, location.toRawUTF8(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK
            && curl_url_get (url, CURLUPART_URL, &text, 0) == CURLUE_OK)
            resolved = juce::String::fromUTF8 (text);

        curl_free (text);
        curl_url_cleanup (url);
    }

    return resolved;
}

HttpReader::HttpReader (const juce::URL& url, Limits requestLimits)
    : juce::Thread ("HTTP reader"),
      firstUrl (url),
      limits (requestLimits),
      multiHandle ((initialiseCurlOnce(), curl_multi_init()))
{
    startThread();
}

HttpReader::~HttpReader()
{
    cancel();
    stopThread (-1);

    if (multiHandle != nullptr)
        curl_multi_cleanup (multiHandle);
}

void HttpReader::cancel() noexcept
{
    cancelled = true;

    if (multiHandle != nullptr)
        curl_multi_wakeup (multiHandle);
}

void HttpReader::run()
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) juce::jmax (0, limits.deadlineMs);
    auto address = firstUrl.toString (true);

    if (! isWebScheme (schemeOf (address)) || multiHandle == nullptr)
        answer.outcome = HttpAnswer::Outcome::refusedRedirect;

    for (int redirects = 0; answer.outcome == HttpAnswer::Outcome::incomplete && ! cancelled; ++redirects)
    {
        const auto outcome = request (address, deadline);

        if (outcome != HttpAnswer::Outcome::complete || ! isRedirect (answer.statusCode))
        {
            answer.outcome = outcome;
            break;
        }

        const auto locations = answer.valuesOf ("Location");
        const auto next = locations.size() == 1 ? resolveLocation (address, locations[0]) : juce::String();

        if (redirects == maxRedirects || next.isEmpty() || ! mayFollowRedirect (address, next))
            answer.outcome = HttpAnswer::Outcome::refusedRedirect;

        address = next;
    }

    if (cancelled)
        answer.outcome = HttpAnswer::Outcome::cancelled;

    ended.store (true, std::memory_order_release);
}

HttpAnswer::Outcome HttpReader::request (const juce::String& address, juce::uint32 deadline)
{
    using Outcome = HttpAnswer::Outcome;

    const auto msLeft = (int) (deadline - juce::Time::getMillisecondCounter());
    auto* easy = curl_easy_init();

    if (easy == nullptr || msLeft <= 0)
    {
        curl_easy_cleanup (easy);
        return Outcome::incomplete;
    }

    answer = {};
    Transfer transfer { easy, answer, limits.maxBodyBytes };

    curl_easy_setopt (easy, CURLOPT_URL, address.toRawUTF8());
    curl_easy_setopt (easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt (easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt (easy, CURLOPT_FOLLOWLOCATION, 0L);
    setProtocolsToWeb (easy);
    curl_easy_setopt (easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt (easy, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt (easy, CURLOPT_CONNECTTIMEOUT_MS, (long) limits.stallTimeoutMs);
    curl_easy_setopt (easy, CURLOPT_LOW_SPEED_LIMIT, 100L);
    curl_easy_setopt (easy, CURLOPT_LOW_SPEED_TIME, (long) juce::jmax (1, (limits.stallTimeoutMs + 999) / 1000));
    curl_easy_setopt (easy, CURLOPT_TIMEOUT_MS, (long) msLeft);
    curl_easy_setopt (easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt (easy, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt (easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    curl_easy_setopt (easy, CURLOPT_WRITEDATA, &transfer);

    if (limits.maxBodyBytes >= 0)
        curl_easy_setopt (easy, CURLOPT_MAXFILESIZE_LARGE, (curl_off_t) limits.maxBodyBytes);

    const auto result = perform (easy);
    curl_easy_cleanup (easy);

    if (limits.maxBodyBytes >= 0
        && (result == CURLE_FILESIZE_EXCEEDED || (juce::int64) answer.body.getSize() > limits.maxBodyBytes))
        return Outcome::tooLarge;

    if (! transfer.headEnded)
        return Outcome::incomplete;

    // The head was all that was asked for, and the callback stopped there.
    if (limits.maxBodyBytes < 0 || isRedirect (answer.statusCode))
        return Outcome::complete;

    const auto declaredLength = declaredLengthOf (answer);
    const auto endIsKnown = declaredLength >= 0 ? (juce::int64) answer.body.getSize() == declaredLength
                                                : declaredLength == -1 && isChunked (answer);

    return result == CURLE_OK && endIsKnown ? Outcome::complete : Outcome::incomplete;
}

int HttpReader::perform (CURL* easy)
{
    auto result = CURLE_ABORTED_BY_CALLBACK;
    curl_multi_add_handle (multiHandle, easy);

    for (auto finished = false; ! finished && ! cancelled;)
    {
        int running = 0;

        if (curl_multi_perform (multiHandle, &running) != CURLM_OK)
            break;

        int messagesLeft = 0;

        while (auto* message = curl_multi_info_read (multiHandle, &messagesLeft))
        {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
            {
                result = message->data.result;
                finished = true;
            }
        }

        // Wakes when the socket is ready, a time-out of libcurl's falls due,
        // or cancel() calls.
        if (! finished)
            curl_multi_poll (multiHandle, nullptr, 0, 1000, nullptr);
    }

    curl_multi_remove_handle (multiHandle, easy);
    return (int) result;
}

} // namespace zuvo
