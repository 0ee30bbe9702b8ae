#pragma once

#include <zuvo_core/zuvo_core.h>

#include <map>

/** Reads an HTTP request's head, its request line and headers up to the blank
    line, a byte at a time so that nothing after it leaves the socket; empty
    when the client closes, is silent for two seconds, or sends 64 KiB first. */
juce::String readHttpRequestHead (juce::StreamingSocket& socket);

/** An HTTP server on 127.0.0.1, on a free port, for the lifetime of the
    object: it answers each GET request from a table of paths (a path not in
    the table gets 404) and counts the requests per path. One connection at a
    time, each closed after its answer.

    Besides plain answers it can misbehave as broken or hostile servers do:
    write a head of the test's own (headers in any order and form), cut a
    body short, leave its length out, send it chunked, drip it or send it in
    bursts, stall, redirect, or send a body without end. A stalled or endless
    answer lasts until the client gives up or the server stops.
*/
class LoopbackHttpServer : private juce::Thread
{
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer() override;

    /** "http://127.0.0.1:<port>/"; empty when the server could not listen. */
    juce::String getBaseAddress() const;

    /** How the server answers one path. */
    struct Answer
    {
        int status = 200;
        juce::MemoryBlock body;
        juce::String contentType;               // sent when not empty
        juce::String location;                  // sent when not empty
        bool declareLength = true;              // a Content-Length header for the whole body
        juce::String head;                      // when not empty: the head as sent (status line,
                                                // headers, blank line) in place of the above
        bool chunked = false;                   // send the body in chunks (a made head says so)
        juce::int64 bytesToSend = -1;           // close after this many body bytes; -1: all
        int pauseMs = 0;                        // send the body in bursts with pauses before them
        int bytesPerBurst = 1;
        bool stallBeforeHead = false;           // send nothing at all
        bool stallAfterHead = false;            // send the head, then nothing
        bool endless = false;                   // repeat the body without end (no length)
    };

    void serve (const juce::String& path, Answer answer);

    /** Answers GET requests for the path (relative to the base address, no
        leading "/") with this status and body. */
    void serve (const juce::String& path, int status, const juce::MemoryBlock& body);
    void serve (const juce::String& path, int status, const juce::String& body);

    /** A redirect (302) from one path to an address. */
    void redirect (const juce::String& path, const juce::String& toAddress);

    /** The requests for this path so far. */
    int getNumRequests (const juce::String& path) const;

    /** All requests so far. */
    int getNumRequests() const;

private:
    void run() override;
    void answer (juce::StreamingSocket&);
    Answer answerFor (const juce::String& path);
    bool keepGoing (juce::StreamingSocket&);
    bool sendBody (juce::StreamingSocket&, const Answer&);
    static juce::String headOf (const Answer&);

    juce::StreamingSocket listener;
    mutable juce::CriticalSection lock;
    std::map<juce::String, Answer> answers;
    std::map<juce::String, int> requests;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LoopbackHttpServer)
};

/** Network time-outs of three seconds and deadlines of twenty for the
    lifetime of the object: long enough for a loaded machine to answer, short
    enough that tests of stalled servers do not wait for the real ones. */
struct ScopedShortTimeouts
{
    ScopedShortTimeouts();
    ~ScopedShortTimeouts();

private:
    const zuvo::Network::Timeouts previous;

    JUCE_DECLARE_NON_COPYABLE (ScopedShortTimeouts)
};

/** Puts another base address of the firmware server in force for its
    lifetime; the one in force before comes back afterwards. Message thread. */
struct ScopedFirmwareServerBase
{
    explicit ScopedFirmwareServerBase (const juce::String& base);
    ~ScopedFirmwareServerBase();

private:
    const juce::String previousBase;

    JUCE_DECLARE_NON_COPYABLE (ScopedFirmwareServerBase)
};

/** A loopback server that is the firmware server for its lifetime, with
    short time-outs; the base address in force before comes back afterwards.
    Message thread. */
struct ScopedFirmwareServer
{
    ScopedShortTimeouts timeouts;
    LoopbackHttpServer server;

private:
    const ScopedFirmwareServerBase base { server.getBaseAddress() };
};
