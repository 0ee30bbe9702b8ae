namespace zuvo
{

struct CurlLibrary;

/** What one GET request brought back. */
struct HttpAnswer
{
    enum class Outcome
    {
        complete,           // the whole body (or, for a status-only request, the whole head) arrived
        incomplete,         // no answer, a broken connection or head, a body cut short, of unknown
                            // or disputed end, or one that outlived its deadline
        tooLarge,           // the body is longer than allowed; reading stopped there
        refusedRedirect,    // too many redirects, or one to a scheme that is not allowed
        cancelled
    };

    Outcome outcome = Outcome::incomplete;
    int statusCode = 0;

    /** The headers of the last answer, in the order the server sent them:
        names as sent, values without the blanks around them. */
    std::vector<std::pair<juce::String, juce::String>> headers;

    juce::MemoryBlock body;

    /** The values of every header of this name (case ignored), in order. */
    juce::StringArray valuesOf (const juce::String& headerName) const;

    /** A complete answer with a 2xx status. */
    bool isCompleteSuccess() const   { return outcome == Outcome::complete && statusCode >= 200 && statusCode <= 299; }

    /** A complete answer with status 200: the whole document, nothing less. */
    bool isWholeDocument() const     { return outcome == Outcome::complete && statusCode == 200; }
};

//==============================================================================
/**
    Runs one GET request through libcurl on a thread of its own, so that no
    server can hold up the thread that asked for it.

    The answer is read as the server sent it: the status line and every
    header, whatever their order, letter case or spacing. Redirects are
    followed here, not by libcurl: at most `maxRedirects`, only to http or
    https addresses, and never from https to anything else; certificates are
    checked. The body is read into memory up to a limit; a body counts as
    complete only when its end is known and undisputed: it came with
    Content-Length headers that all agree and is that long, or it came
    chunked and the chunks ended properly.

    Over HTTP/2 and later, whose streams end each answer of their own, a
    body without Content-Length is complete when its stream ended cleanly.
    Proxies that the environment names (https_proxy and the like) are used as
    every libcurl program uses them; their own answers never count as the
    server's. Every request says who asks (VTR_USER_AGENT).

    Three limits bound a request: the connection must be made, and the
    transfer must not stall (less than 100 bytes a second), within the stall
    time-out; and the whole request, redirects included, must end within its
    deadline. cancel() ends it at once, even while the server sends nothing
    or the server's name is still being looked up.

    Without libcurl (see CurlLibrary) every request ends incomplete.

    The answer may be read once hasEnded() has returned true.
*/
class HttpReader : private juce::Thread
{
public:
    static constexpr int maxRedirects = 5;

    struct Limits
    {
        juce::int64 maxBodyBytes;   // < 0: the status and headers only
        int stallTimeoutMs;
        int deadlineMs;
    };

    /** Starts the request. With a certificate bundle given, the server's
        certificate must be signed by one of its authorities instead of the
        system's. */
    HttpReader (const juce::URL& url, Limits limits, const juce::File& trustedCertificates = {});

    /** Cancels the request and waits until the thread has ended. */
    ~HttpReader() override;

    void cancel() noexcept;
    bool hasEnded() const noexcept     { return ended.load (std::memory_order_acquire); }

    /** Whether a redirect from one address to the other may be followed:
        only to http or https, and from https only to https. */
    static bool mayFollowRedirect (const juce::String& from, const juce::String& to);

    /** The address that a Location header leads to from this address, as a
        browser resolves it (blanks and characters beyond ASCII percent-encoded
        as UTF-8); empty when there is none. */
    static juce::String resolveLocation (const juce::String& from, const juce::String& location);

    /** The answer; only after hasEnded(). */
    const HttpAnswer& getAnswer() const noexcept   { jassert (hasEnded()); return answer; }

private:
    struct Transfer;

    void run() override;
    HttpAnswer::Outcome request (const juce::String& address, juce::uint32 deadline);
    int perform (void* easyHandle);

    const juce::URL firstUrl;
    const Limits limits;
    const juce::File trustedCertificates;
    const CurlLibrary* const curl;
    void* const multiHandle;

    std::atomic<bool> cancelled { false };
    std::atomic<bool> ended { false };
    HttpAnswer answer;   // written by the reader thread before `ended`

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HttpReader)
};

} // namespace zuvo
