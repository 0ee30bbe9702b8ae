#pragma once

#include <juce_core/juce_core.h>

#include <mutex>
#include <optional>
#include <thread>

/** An HTTP proxy on 127.0.0.1, on a free port, for the lifetime of the
    object, that makes tunnels and nothing else, as office proxies do for
    HTTPS: it answers "CONNECT host:port" (loopback hosts only) with
    "HTTP/1.1 200 Connection established", a header or two and a blank line,
    then relays the bytes both ways until either side closes. It counts the
    tunnels it made. Each tunnel runs on a thread of its own; the destructor
    ends them all.
*/
class LoopbackConnectProxy : private juce::Thread
{
public:
    LoopbackConnectProxy();
    ~LoopbackConnectProxy() override;

    /** "http://127.0.0.1:<port>"; empty when the proxy could not listen. */
    juce::String getAddress() const;

    int getNumTunnels() const noexcept   { return numTunnels.load(); }

private:
    void run() override;
    void tunnel (std::unique_ptr<juce::StreamingSocket> client);
    void relay (juce::StreamingSocket& client, juce::StreamingSocket& server);

    /** Notes a socket that the destructor must wake from a relay; false once it is ending. */
    bool watch (juce::StreamingSocket&);
    void unwatch (juce::StreamingSocket&);

    juce::StreamingSocket listener;
    std::atomic<int> numTunnels { 0 };

    std::mutex lock;
    bool ending = false;
    std::vector<int> openSockets;
    std::vector<std::thread> tunnels;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LoopbackConnectProxy)
};

/** Sends every request through a proxy for its lifetime, as a user's
    environment does: https_proxy and http_proxy name it, and no_proxy,
    all_proxy and the upper-case forms of all four are cleared, so that
    nothing leads around it. Every one of them is as it was afterwards. */
class ScopedProxyEnvironment
{
public:
    explicit ScopedProxyEnvironment (const juce::String& proxyAddress);
    ~ScopedProxyEnvironment();

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> previous;

    JUCE_DECLARE_NON_COPYABLE (ScopedProxyEnvironment)
};
