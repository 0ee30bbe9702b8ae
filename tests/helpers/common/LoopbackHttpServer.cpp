#include "LoopbackHttpServer.h"

namespace
{
    constexpr int maxRequestSize = 64 * 1024;

    const char* reasonFor (int status)
    {
        switch (status)
        {
            case 200:   return "OK";
            case 404:   return "Not Found";
            case 500:   return "Internal Server Error";
            default:    return "Status";
        }
    }

    /** The request line and headers, up to the blank line; empty when the client gives up. */
    juce::String readRequestHead (juce::StreamingSocket& socket)
    {
        juce::MemoryOutputStream head;
        char c = 0;

        while (head.getDataSize() < (size_t) maxRequestSize
               && socket.waitUntilReady (true, 2000) == 1
               && socket.read (&c, 1, true) == 1)
        {
            head.writeByte (c);

            if (head.toString().endsWith ("\r\n\r\n"))
                return head.toString();
        }

        return {};
    }
}

LoopbackHttpServer::LoopbackHttpServer() : juce::Thread ("loopback HTTP server")
{
    if (listener.createListener (0, "127.0.0.1"))
        startThread();
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    signalThreadShouldExit();
    listener.close();   // wakes the thread from waiting for a connection
    stopThread (5000);
}

juce::String LoopbackHttpServer::getBaseAddress() const
{
    if (! listener.isConnected())
        return {};

    return "http://127.0.0.1:" + juce::String (listener.getBoundPort()) + "/";
}

void LoopbackHttpServer::serve (const juce::String& path, int status, const juce::MemoryBlock& body)
{
    const juce::ScopedLock sl (lock);
    responses[path] = { status, body };
}

void LoopbackHttpServer::serve (const juce::String& path, int status, const juce::String& body)
{
    serve (path, status, juce::MemoryBlock (body.toRawUTF8(), body.getNumBytesAsUTF8()));
}

int LoopbackHttpServer::getNumRequests (const juce::String& path) const
{
    const juce::ScopedLock sl (lock);
    const auto found = requests.find (path);
    return found != requests.end() ? found->second : 0;
}

int LoopbackHttpServer::getNumRequests() const
{
    const juce::ScopedLock sl (lock);
    int total = 0;

    for (const auto& entry : requests)
        total += entry.second;

    return total;
}

LoopbackHttpServer::Response LoopbackHttpServer::responseFor (const juce::String& path)
{
    const juce::ScopedLock sl (lock);
    ++requests[path];
    const auto found = responses.find (path);
    return found != responses.end() ? found->second : Response();
}

void LoopbackHttpServer::run()
{
    while (! threadShouldExit())
    {
        std::unique_ptr<juce::StreamingSocket> client (listener.waitForNextConnection());

        if (client != nullptr && ! threadShouldExit())
            answer (*client);
    }
}

void LoopbackHttpServer::answer (juce::StreamingSocket& client)
{
    const auto requestLine = readRequestHead (client).upToFirstOccurrenceOf ("\r\n", false, false);

    if (! requestLine.startsWith ("GET "))
        return;

    const auto target = requestLine.fromFirstOccurrenceOf (" /", false, false).upToFirstOccurrenceOf (" ", false, false);
    const auto response = responseFor (target);

    const auto head = "HTTP/1.1 " + juce::String (response.status) + " " + reasonFor (response.status) + "\r\n"
                      + "Content-Length: " + juce::String ((juce::int64) response.body.getSize()) + "\r\n"
                      + "Connection: close\r\n\r\n";

    client.write (head.toRawUTF8(), (int) head.getNumBytesAsUTF8());

    for (size_t sent = 0; sent < response.body.getSize();)
    {
        const auto chunk = (int) juce::jmin ((size_t) 65536, response.body.getSize() - sent);
        const auto written = client.write (static_cast<const char*> (response.body.getData()) + sent, chunk);

        if (written <= 0)
            break;

        sent += (size_t) written;
    }
}

//==============================================================================
ScopedFirmwareServer::ScopedFirmwareServer()
    : previousBase (zuvo::Network::getFirmwareServerBase())
{
    zuvo::Network::setFirmwareServerBase (server.getBaseAddress());
}

ScopedFirmwareServer::~ScopedFirmwareServer()
{
    zuvo::Network::setFirmwareServerBase (previousBase);
}
