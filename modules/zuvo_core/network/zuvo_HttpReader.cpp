#include "zuvo_CurlLibrary.h"

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

    /** A header line as text: UTF-8 where it is valid UTF-8 (as servers send
        file names in a Location), otherwise ISO 8859-1, every byte a character. */
    juce::String headerText (const char* data, size_t size)
    {
        if (juce::CharPointer_UTF8::isValidString (data, (int) size))
            return juce::String::fromUTF8 (data, (int) size);

        juce::String text;
        text.preallocateBytes (size * 2);

        for (size_t i = 0; i < size; ++i)
            text += (juce::juce_wchar) (unsigned char) data[i];

        return text;
    }

    /** The address with blanks, control characters and everything beyond
        ASCII percent-encoded (as UTF-8), as a browser sends it. */
    juce::String percentEncoded (const juce::String& address)
    {
        juce::String encoded;
        const auto utf8 = address.toRawUTF8();

        for (auto* p = utf8; *p != 0; ++p)
        {
            const auto byte = (unsigned char) *p;

            if (byte <= 0x20 || byte >= 0x7f)
                encoded << '%' << juce::String::toHexString ((int) byte).paddedLeft ('0', 2).toUpperCase();
            else
                encoded << (char) byte;
        }

        return encoded;
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

    /** Whether a body of no declared length came whole: only chunks tell its
        end over HTTP/1.x; HTTP/2 and later end each answer's stream of their own,
        and libcurl reports a reset stream as an error. */
    bool endsOfItsOwn (const HttpAnswer& answer, long httpVersion)
    {
        if (httpVersion >= CURL_HTTP_VERSION_2_0)
            return true;

        for (const auto& encoding : answer.valuesOf ("Transfer-Encoding"))
            if (encoding.containsIgnoreCase ("chunked"))
                return true;

        return false;
    }

    void setProtocolsToWeb (const CurlLibrary& curl, CURL* easy)
    {
       #if LIBCURL_VERSION_NUM >= 0x075500
        curl.easy_setopt (easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl.easy_setopt (easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
       #else
        curl.easy_setopt (easy, CURLOPT_PROTOCOLS, (long) (CURLPROTO_HTTP | CURLPROTO_HTTPS));
        curl.easy_setopt (easy, CURLOPT_REDIR_PROTOCOLS, (long) (CURLPROTO_HTTP | CURLPROTO_HTTPS));
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
    const CurlLibrary& curl;
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
            t.curl.easy_getinfo (t.easy, CURLINFO_RESPONSE_CODE, &status);

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
    const auto* curl = CurlLibrary::get();

    if (location.isEmpty() || curl == nullptr)
        return {};

    const auto target = percentEncoded (location);

    // A fragment alone keeps the whole address, query included (libcurl would
    // resolve it against the folder).
    if (target.startsWithChar ('#'))
        return from.upToFirstOccurrenceOf ("#", false, false) + target;

    juce::String resolved;

    if (auto* url = curl->url())
    {
        char* text = nullptr;

        if (curl->url_set (url, CURLUPART_URL, from.toRawUTF8(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK
            && curl->url_set (url, CURLUPART_URL, target.toRawUTF8(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK
            && curl->url_get (url, CURLUPART_URL, &text, 0) == CURLUE_OK)
            resolved = juce::String::fromUTF8 (text);

        curl->free (text);
        curl->url_cleanup (url);
    }

    return resolved;
}

HttpReader::HttpReader (const juce::URL& url, Limits requestLimits, const juce::File& certificates)
    : juce::Thread ("HTTP reader"),
      firstUrl (url),
      limits (requestLimits),
      trustedCertificates (certificates),
      curl (CurlLibrary::get()),
      multiHandle (curl != nullptr ? curl->multi_init() : nullptr)
{
    startThread();
}

HttpReader::~HttpReader()
{
    cancel();
    stopThread (-1);

    if (multiHandle != nullptr)
        curl->multi_cleanup (multiHandle);
}

void HttpReader::cancel() noexcept
{
    cancelled = true;

    if (multiHandle != nullptr)
        curl->multi_wakeup (multiHandle);
}

void HttpReader::run()
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) juce::jmax (0, limits.deadlineMs);
    auto address = firstUrl.toString (true);

    if (! isWebScheme (schemeOf (address)))
        answer.outcome = HttpAnswer::Outcome::refusedRedirect;

    // Without libcurl nothing can be fetched: the answer stays incomplete.
    for (int redirects = 0; answer.outcome == HttpAnswer::Outcome::incomplete && multiHandle != nullptr && ! cancelled; ++redirects)
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
    auto* easy = curl->easy_init();

    if (easy == nullptr || msLeft <= 0)
    {
        curl->easy_cleanup (easy);
        return Outcome::incomplete;
    }

    answer = {};
    Transfer transfer { *curl, easy, answer, limits.maxBodyBytes };
    const auto set = [this, easy] (CURLoption option, auto value) { curl->easy_setopt (easy, option, value); };

    set (CURLOPT_URL, address.toRawUTF8());
    set (CURLOPT_HTTPGET, 1L);
    set (CURLOPT_NOSIGNAL, 1L);
    set (CURLOPT_FOLLOWLOCATION, 0L);
    setProtocolsToWeb (*curl, easy);
    set (CURLOPT_USERAGENT, VTR_USER_AGENT);
    set (CURLOPT_SSL_VERIFYPEER, 1L);
    set (CURLOPT_SSL_VERIFYHOST, 2L);

    // The bundle stands in for the system's authorities: neither their file
    // nor their folder is read then.
    if (trustedCertificates != juce::File())
    {
        set (CURLOPT_CAINFO, trustedCertificates.getFullPathName().toRawUTF8());
        set (CURLOPT_CAPATH, static_cast<const char*> (nullptr));
    }

    // A proxy's answer to CONNECT is not the server's: keep it from the callbacks.
    set (CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
   #if LIBCURL_VERSION_NUM >= 0x075700
    // A cancel or time-out leaves a name look-up that hangs to finish on its
    // own instead of waiting for it.
    set (CURLOPT_QUICK_EXIT, 1L);
   #endif
    set (CURLOPT_CONNECTTIMEOUT_MS, (long) limits.stallTimeoutMs);
    set (CURLOPT_LOW_SPEED_LIMIT, 100L);
    set (CURLOPT_LOW_SPEED_TIME, (long) juce::jmax (1, (limits.stallTimeoutMs + 999) / 1000));
    set (CURLOPT_TIMEOUT_MS, (long) msLeft);
    set (CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    set (CURLOPT_HEADERDATA, &transfer);
    set (CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    set (CURLOPT_WRITEDATA, &transfer);

    if (limits.maxBodyBytes >= 0)
        set (CURLOPT_MAXFILESIZE_LARGE, (curl_off_t) limits.maxBodyBytes);

    const auto result = perform (easy);
    long httpVersion = 0;
    curl->easy_getinfo (easy, CURLINFO_HTTP_VERSION, &httpVersion);
    curl->easy_cleanup (easy);

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
                                                : declaredLength == -1 && endsOfItsOwn (answer, httpVersion);

    return result == CURLE_OK && endIsKnown ? Outcome::complete : Outcome::incomplete;
}

int HttpReader::perform (CURL* easy)
{
    auto result = CURLE_ABORTED_BY_CALLBACK;
    curl->multi_add_handle (multiHandle, easy);

    for (auto finished = false; ! finished && ! cancelled;)
    {
        int running = 0;

        if (curl->multi_perform (multiHandle, &running) != CURLM_OK)
            break;

        int messagesLeft = 0;

        while (auto* message = curl->multi_info_read (multiHandle, &messagesLeft))
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
            curl->multi_poll (multiHandle, nullptr, 0, 1000, nullptr);
    }

    curl->multi_remove_handle (multiHandle, easy);
    return (int) result;
}

} // namespace zuvo
