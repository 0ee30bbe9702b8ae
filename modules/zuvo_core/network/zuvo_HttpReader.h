namespace zuvo
{

/** What one GET request brought back. */
struct HttpAnswer
{
    enum class Outcome
    {
        complete,           // the whole body (or, for a status-only request, the status) arrived
        incomplete,         // no answer, a broken connection, a body cut short or of unknown end
        tooLarge,           // the body is longer than allowed; reading stopped there
        refusedRedirect,    // too many redirects, or one to a scheme that is not allowed
        cancelled
    };

    Outcome outcome = Outcome::incomplete;
    int statusCode = 0;
    juce::String contentType;
    juce::MemoryBlock body;

    /** A complete answer with a 2xx status. */
    bool isCompleteSuccess() const   { return outcome == Outcome::complete && statusCode >= 200 && statusCode <= 299; }
};

//==============================================================================
/**
    Runs one GET request on a thread of its own, so that no server can hold up
    the thread that asked for it.

    Redirects are followed here, not by the framework: at most `maxRedirects`,
    only to http or https addresses, and never from https to anything else.
    The body is read into memory up to a limit; a body counts as complete only
    when its end is known: it is as long as its Content-Length, or it came
    chunked and the chunks ended properly.

    Every connection uses the framework's time-out, which bounds both the
    connection and a stall: less than 100 bytes a second for that long ends
    the transfer. cancel() ends it between two chunks; a read that waits for
    a stalled server ends within the time-out.

    The answer may be read once hasEnded() has returned true.
*/
class HttpReader : private juce::Thread
{
public:
    static constexpr int maxRedirects = 5;

    /** Starts the request. maxBodyBytes < 0 asks for the status only. */
    HttpReader (const juce::URL& url, juce::int64 maxBodyBytes, int timeoutMs);

    /** Cancels the request and waits until the thread has ended. */
    ~HttpReader() override;

    void cancel() noexcept             { cancelled = true; }
    bool hasEnded() const noexcept     { return ended.load (std::memory_order_acquire); }

    /** Whether a redirect from one address to the other may be followed:
        only to http or https, and from https only to https. */
    static bool mayFollowRedirect (const juce::String& from, const juce::String& to);

    /** The answer; only after hasEnded(). */
    const HttpAnswer& getAnswer() const noexcept   { jassert (hasEnded()); return answer; }

private:
    void run() override;
    HttpAnswer::Outcome readBody (juce::WebInputStream&, const juce::StringPairArray& headers);

    const juce::URL firstUrl;
    const juce::int64 maxBodyBytes;
    const int timeoutMs;

    std::atomic<bool> cancelled { false };
    std::atomic<bool> ended { false };
    HttpAnswer answer;   // written by the reader thread before `ended`

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HttpReader)
};

} // namespace zuvo
