#include "LoopbackConnectProxy.h"
#include "LoopbackHttpServer.h"

#include <cerrno>
#include <cstdlib>
#include <poll.h>
#include <sys/socket.h>

namespace
{
    const juce::String established = "HTTP/1.1 200 Connection established\r\n"
                                     "Proxy-Agent: loopback-proxy/1.0\r\n"
                                     "Via: 1.1 loopback-proxy\r\n"
                                     "\r\n";

    bool sendAll (int socket, const char* data, size_t size)
    {
        while (size > 0)
        {
            const auto sent = ::send (socket, data, size, MSG_NOSIGNAL);

            if (sent <= 0)
                return false;

            data += sent;
            size -= (size_t) sent;
        }

        return true;
    }

    // Tests send traffic to this machine only.
    bool isLoopbackHost (const juce::String& host)
    {
        return host == "127.0.0.1" || host == "localhost";
    }

    const char* const proxyVariables[] = { "https_proxy", "http_proxy", "no_proxy", "all_proxy",
                                           "HTTPS_PROXY", "HTTP_PROXY", "NO_PROXY", "ALL_PROXY" };
}

LoopbackConnectProxy::LoopbackConnectProxy() : juce::Thread ("loopback CONNECT proxy")
{
    if (listener.createListener (0, "127.0.0.1"))
        startThread();
}

LoopbackConnectProxy::~LoopbackConnectProxy()
{
    signalThreadShouldExit();
    listener.close();   // wakes the thread from waiting for a connection
    stopThread (5000);

    {
        // Wakes every tunnel from waiting for either side.
        const std::lock_guard<std::mutex> sl (lock);
        ending = true;

        for (const auto socket : openSockets)
            ::shutdown (socket, SHUT_RDWR);
    }

    for (auto& t : tunnels)
        t.join();
}

juce::String LoopbackConnectProxy::getAddress() const
{
    if (! listener.isConnected())
        return {};

    return "http://127.0.0.1:" + juce::String (listener.getBoundPort());
}

void LoopbackConnectProxy::run()
{
    while (! threadShouldExit())
    {
        std::unique_ptr<juce::StreamingSocket> client (listener.waitForNextConnection());

        if (client != nullptr && ! threadShouldExit())
            tunnels.emplace_back ([this, c = std::move (client)]() mutable { tunnel (std::move (c)); });
    }
}

bool LoopbackConnectProxy::watch (juce::StreamingSocket& socket)
{
    const std::lock_guard<std::mutex> sl (lock);

    if (ending)
        return false;

    openSockets.push_back (socket.getRawSocketHandle());
    return true;
}

void LoopbackConnectProxy::unwatch (juce::StreamingSocket& socket)
{
    const std::lock_guard<std::mutex> sl (lock);
    openSockets.erase (std::find (openSockets.begin(), openSockets.end(), socket.getRawSocketHandle()));
}

void LoopbackConnectProxy::tunnel (std::unique_ptr<juce::StreamingSocket> client)
{
    if (! watch (*client))
        return;

    const auto requestLine = readHttpRequestHead (*client).upToFirstOccurrenceOf ("\r\n", false, false);
    const auto target = requestLine.fromFirstOccurrenceOf ("CONNECT ", false, false).upToFirstOccurrenceOf (" ", false, false);
    const auto host = target.upToLastOccurrenceOf (":", false, false);
    const auto port = target.fromLastOccurrenceOf (":", false, false).getIntValue();

    juce::StreamingSocket server;
    auto reply = established;

    if (! requestLine.startsWith ("CONNECT ") || ! isLoopbackHost (host) || port <= 0)
        reply = "HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n";
    else if (! server.connect (host, port, 5000))
        reply = "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n";

    const auto isOpen = reply == established && watch (server);

    if (isOpen)
        ++numTunnels;

    if (sendAll (client->getRawSocketHandle(), reply.toRawUTF8(), reply.getNumBytesAsUTF8()) && isOpen)
        relay (*client, server);

    if (isOpen)
        unwatch (server);

    unwatch (*client);
}

void LoopbackConnectProxy::relay (juce::StreamingSocket& client, juce::StreamingSocket& server)
{
    pollfd sides[] = { { client.getRawSocketHandle(), POLLIN, 0 }, { server.getRawSocketHandle(), POLLIN, 0 } };
    char buffer[16384];

    for (;;)
    {
        if (poll (sides, 2, -1) < 0)
        {
            if (errno == EINTR)
                continue;

            return;
        }

        for (int i = 0; i < 2; ++i)
        {
            if (sides[i].revents == 0)
                continue;

            const auto received = ::recv (sides[i].fd, buffer, sizeof (buffer), 0);

            if (received <= 0 || ! sendAll (sides[1 - i].fd, buffer, (size_t) received))
                return;
        }
    }
}

//==============================================================================
ScopedProxyEnvironment::ScopedProxyEnvironment (const juce::String& proxyAddress)
{
    for (const auto* name : proxyVariables)
    {
        const auto* value = std::getenv (name);
        previous.emplace_back (name, value != nullptr ? std::optional<std::string> (value) : std::nullopt);
        unsetenv (name);
    }

    setenv ("https_proxy", proxyAddress.toRawUTF8(), 1);
    setenv ("http_proxy", proxyAddress.toRawUTF8(), 1);
}

ScopedProxyEnvironment::~ScopedProxyEnvironment()
{
    for (const auto& [name, value] : previous)
    {
        if (value.has_value())
            setenv (name.c_str(), value->c_str(), 1);
        else
            unsetenv (name.c_str());
    }
}
