#pragma once

#include "LoopbackHttpServer.h"
#include "PipedChildProcess.h"
#include "TestCertificates.h"

/** An HTTP/2 server over TLS on 127.0.0.1, on a free port, for the lifetime
    of the object: tests/helpers/loopback_https_server.py on Debian's
    python3-h2, which this object starts and stops. It speaks only HTTP/2
    (ALPN "h2"), shows the server certificate given, answers each GET
    request from a table of paths (a path not in the table gets 404), counts
    the requests per path and keeps their headers.

    The object is ready once made: the server takes connections, and an
    answer that serve() returned from is in force. Message thread.
*/
class LoopbackHttpsServer
{
public:
    explicit LoopbackHttpsServer (const TestCertificates& certificates);

    /** "https://127.0.0.1:<port>/"; empty when the server did not start. */
    juce::String getBaseAddress() const;

    /** How the server answers one path. */
    struct Answer
    {
        int status = 200;
        std::vector<std::pair<juce::String, juce::String>> headers;   // sent as given, after the status
        juce::MemoryBlock body;
        bool declareLength = true;                  // a content-length header for the whole body
        juce::int64 resetAfterBytes = -1;           // reset the stream after this many body bytes; -1: never
        bool refuseWithoutUserAgent = false;        // 403 for a request without a user-agent
    };

    /** Answers GET requests for the path (relative to the base address, no
        leading "/") so; false when the server did not take it. */
    bool serve (const juce::String& path, const Answer& answer);

    /** A 200 answer with this body, its length given or not. */
    bool serve (const juce::String& path, const juce::MemoryBlock& body, bool declareLength = true);

    /** The requests for this path so far. */
    int getNumRequests (const juce::String& path);

    /** The values of this header (name case ignored) in the requests for
        this path so far, in order; a request without it adds none. */
    juce::StringArray getHeaderValues (const juce::String& path, const juce::String& headerName);

private:
    /** The server's answer to one command; void when there was none. */
    juce::var ask (const juce::var& command);
    juce::Array<juce::var> requestsFor (const juce::String& path);

    PipedChildProcess process;
    int port = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LoopbackHttpsServer)
};

/** A loopback HTTPS server with certificates of its own that is the firmware
    server for its lifetime, its authority trusted, with short time-outs;
    what was in force before comes back afterwards. Message thread. */
struct ScopedSecureFirmwareServer
{
    ScopedShortTimeouts timeouts;
    TestCertificates certificates;
    ScopedTrustedCertificates trust { certificates.getAuthority() };
    LoopbackHttpsServer server { certificates };

private:
    const ScopedFirmwareServerBase base { server.getBaseAddress() };
};
