#pragma once

#include <zuvo_core/zuvo_core.h>

#include <map>

/** An HTTP server on 127.0.0.1, on a free port, for the lifetime of the
    object: it answers each GET request from a table of paths (a path not in
    the table gets 404) and counts the requests per path. One connection at a
    time, each closed after its answer.
*/
class LoopbackHttpServer : private juce::Thread
{
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer() override;

    /** "http://127.0.0.1:<port>/"; empty when the server could not listen. */
    juce::String getBaseAddress() const;

    /** Answers GET requests for the path (relative to the base address, no
        leading "/") with this status and body. */
    void serve (const juce::String& path, int status, const juce::MemoryBlock& body);
    void serve (const juce::String& path, int status, const juce::String& body);

    /** The requests for this path so far. */
    int getNumRequests (const juce::String& path) const;

    /** All requests so far. */
    int getNumRequests() const;

private:
    struct Response
    {
        int status = 404;
        juce::MemoryBlock body;
    };

    void run() override;
    void answer (juce::StreamingSocket&);
    Response responseFor (const juce::String& path);

    juce::StreamingSocket listener;
    mutable juce::CriticalSection lock;
    std::map<juce::String, Response> responses;
    std::map<juce::String, int> requests;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LoopbackHttpServer)
};

/** A loopback server that is the firmware server for its lifetime; the base
    address in force before comes back afterwards. Message thread. */
struct ScopedFirmwareServer
{
    ScopedFirmwareServer();
    ~ScopedFirmwareServer();

    LoopbackHttpServer server;

private:
    const juce::String previousBase;

    JUCE_DECLARE_NON_COPYABLE (ScopedFirmwareServer)
};
