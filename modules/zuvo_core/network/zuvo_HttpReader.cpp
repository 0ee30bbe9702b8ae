namespace zuvo
{

namespace
{
    // Small reads: a cancellation is seen between two of them, even while a
    // slow server takes seconds to fill one.
    constexpr int chunkSize = 256;

    juce::String schemeOf (const juce::String& address)
    {
        return address.upToFirstOccurrenceOf ("://", false, false).toLowerCase();
    }

    bool isWebScheme (const juce::String& scheme)
    {
        return scheme == "http" || scheme == "https";
    }

    bool isRedirect (int status)
    {
        return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    }

    /** The address that a Location header leads to from this address. */
    juce::String resolveLocation (const juce::String& from, const juce::String& location)
    {
        const auto scheme = schemeOf (from);

        if (location.isEmpty())
            return {};

        if (location.indexOf ("://") > 0 && location.upToFirstOccurrenceOf ("://", false, false)
                                                    .containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-."))
            return location;

        if (location.startsWith ("//"))
            return scheme + ":" + location;

        const auto afterScheme = from.fromFirstOccurrenceOf ("://", false, false);
        const auto origin = scheme + "://" + afterScheme.upToFirstOccurrenceOf ("/", false, false);

        if (location.startsWithChar ('/'))
            return origin + location;

        const auto path = afterScheme.fromFirstOccurrenceOf ("/", true, false).upToFirstOccurrenceOf ("?", false, false);
        return origin + (path.isEmpty() ? "/" : path.upToLastOccurrenceOf ("/", true, false)) + location;
    }
}

bool HttpReader::mayFollowRedirect (const juce::String& from, const juce::String& to)
{
    const auto target = schemeOf (to);
    return isWebScheme (target) && ! (schemeOf (from) == "https" && target != "https");
}

HttpReader::HttpReader (const juce::URL& url, juce::int64 bodyLimit, int timeout)
    : juce::Thread ("HTTP reader"),
      firstUrl (url),
      maxBodyBytes (bodyLimit),
      timeoutMs (timeout)
{
    startThread();
}

HttpReader::~HttpReader()
{
    cancel();
    stopThread (-1);
}

void HttpReader::run()
{
    auto address = firstUrl.toString (true);

    if (! isWebScheme (schemeOf (address)))
        answer.outcome = HttpAnswer::Outcome::refusedRedirect;

    for (int redirects = 0; answer.outcome == HttpAnswer::Outcome::incomplete && ! cancelled; ++redirects)
    {
        juce::WebInputStream stream (juce::URL (address), false);
        stream.withConnectionTimeout (timeoutMs).withNumRedirectsToFollow (0);

        if (! stream.connect (nullptr))
            break;

        const auto status = stream.getStatusCode();
        const auto headers = stream.getResponseHeaders();

        if (! isRedirect (status))
        {
            answer.statusCode = status;
            answer.contentType = headers["Content-Type"].trim();
            answer.outcome = readBody (stream, headers);
            break;
        }

        const auto next = resolveLocation (address, headers["Location"].trim());

        if (redirects == maxRedirects || next.isEmpty() || ! mayFollowRedirect (address, next))
            answer.outcome = HttpAnswer::Outcome::refusedRedirect;

        address = next;
    }

    if (cancelled)
        answer.outcome = HttpAnswer::Outcome::cancelled;

    ended.store (true, std::memory_order_release);
}

HttpAnswer::Outcome HttpReader::readBody (juce::WebInputStream& stream, const juce::StringPairArray& headers)
{
    using Outcome = HttpAnswer::Outcome;

    if (maxBodyBytes < 0)
        return Outcome::complete;

    const auto declaredLength = stream.getTotalLength();

    if (declaredLength > maxBodyBytes)
        return Outcome::tooLarge;

    // Without a declared length one byte more than the limit tells a body
    // that is too long from one that just fits.
    const auto bytesToRead = declaredLength >= 0 ? declaredLength : maxBodyBytes + 1;
    juce::HeapBlock<char> chunk (chunkSize);
    auto& body = answer.body;

    while (! cancelled && (juce::int64) body.getSize() < bytesToRead)
    {
        const auto wanted = (int) juce::jmin ((juce::int64) chunkSize, bytesToRead - (juce::int64) body.getSize());
        const auto numRead = stream.read (chunk, wanted);

        if (numRead > 0)
            body.append (chunk, (size_t) numRead);

        if (numRead < wanted)
            break;
    }

    const auto size = (juce::int64) body.getSize();

    if (size > maxBodyBytes)
        return Outcome::tooLarge;

    const auto endIsKnown = declaredLength >= 0 ? size == declaredLength
                                                : headers["Transfer-Encoding"].containsIgnoreCase ("chunked");

    return ! stream.isError() && endIsKnown ? Outcome::complete : Outcome::incomplete;
}

} // namespace zuvo
