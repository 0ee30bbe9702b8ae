namespace zuvo
{

/**
    The firmware server, the test whether it answers, and the transfers from it.

    The server's base address ends in "/"; the catalogue documents and the
    firmware images live at paths under it. It is the build setting
    VTR_FIRMWARE_SERVER, unless the environment variable of the same name
    holds another address when the base is first asked for (for tests that
    run the program as a separate process), or setFirmwareServerBase() has
    put another one in force.

    Every request runs on a reader thread (see HttpReader) while the calling
    thread, the message thread, keeps running the message loop in short
    slices: the windows repaint and keys and clicks are handled throughout,
    and a cancellation in force, or a quit of the program, ends the request
    within a slice.

    Static members only; message thread only.
*/
class Network
{
public:
    /** Whether the server answers a GET request for the address with a 2xx
        status and the whole head of its answer: up to three attempts, each
        of which must end within the reachability time-out, followed by 50 ms
        of message loop when they fail. */
    static bool canConnectToWebsite (const juce::URL& url);

    /** Downloads the whole body of the answer to a GET request into memory,
        reading no more than maxBodyBytes + 1 bytes; see HttpAnswer for what
        counts as complete. The connection and every stall are bound by the
        transfer time-out, the whole download by the deadline (one of the
        Timeouts' deadlines). */
    static HttpAnswer fetch (const juce::URL& url, juce::int64 maxBodyBytes, int deadlineMs);

    /** The base address of the firmware server, ending in "/". */
    static juce::String getFirmwareServerBase();

    /** Puts another base address in force (it should end in "/"); an empty
        one goes back to the default. */
    static void setFirmwareServerBase (const juce::String& newBase);

    /** The certificate authorities that every request trusts, in place of the
        system's (a PEM bundle file); a File() goes back to the system's. */
    static void setTrustedCertificates (const juce::File& pemBundle);

    //==============================================================================
    /** How long the requests may take. */
    struct Timeouts
    {
        int reachabilityMs = 2000;            // each attempt of canConnectToWebsite, whole
        int transferMs = 10000;               // a fetch's connection, and a stall of it
        int catalogueDeadlineMs = 120000;     // a whole catalogue download: a few kilobytes
        int imageDeadlineMs = 600000;         // a whole image download: 2 MiB at 3.5 KB/s
    };

    static Timeouts getTimeouts();
    static void setTimeouts (Timeouts);

    /** While it exists, every request ends as soon as the check returns true
        (it is asked between the slices of message loop). Whatever the check,
        a request ends when the message loop has been told to quit. */
    class ScopedCancelCheck
    {
    public:
        explicit ScopedCancelCheck (std::function<bool()> shouldCancel);
        ~ScopedCancelCheck();

    private:
        std::function<bool()> previous;

        JUCE_DECLARE_NON_COPYABLE (ScopedCancelCheck)
    };
};

} // namespace zuvo
