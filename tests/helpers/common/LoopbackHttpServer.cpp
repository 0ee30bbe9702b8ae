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
            case 302:   return "Found";
            case 500:   return "Internal Server Error";
            default:    return "Status";
        }
    }
}

juce::String readHttpRequestHead (juce::StreamingSocket& socket)
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

void LoopbackHttpServer::serve (const juce::String& path, Answer answer)
{
    const juce::ScopedLock sl (lock);
    answers[path] = std::move (answer);
}

void LoopbackHttpServer::serve (const juce::String& path, int status, const juce::MemoryBlock& body)
{
    Answer answer;
    answer.status = status;

    // The framework copies even an empty block with memcpy, from a null pointer.
    if (! body.isEmpty())
        answer.body = body;

    serve (path, std::move (answer));
}

void LoopbackHttpServer::serve (const juce::String& path, int status, const juce::String& body)
{
    serve (path, status, juce::MemoryBlock (body.toRawUTF8(), body.getNumBytesAsUTF8()));
}

void LoopbackHttpServer::redirect (const juce::String& path, const juce::String& toAddress)
{
    Answer answer;
    answer.status = 302;
    answer.location = toAddress;
    serve (path, std::move (answer));
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

LoopbackHttpServer::Answer LoopbackHttpServer::answerFor (const juce::String& path)
{
    const juce::ScopedLock sl (lock);
    ++requests[path];
    const auto found = answers.find (path);

    if (found != answers.end())
        return found->second;

    Answer notFound;
    notFound.status = 404;
    return notFound;
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

bool LoopbackHttpServer::keepGoing (juce::StreamingSocket& client)
{
    // A client that gave up has closed its end: the socket reads as ready with nothing in it.
    char c = 0;
    return ! threadShouldExit() && ! (client.waitUntilReady (true, 0) == 1 && client.read (&c, 1, false) <= 0);
}

bool LoopbackHttpServer::sendBody (juce::StreamingSocket& client, const Answer& a)
{
    const auto* data = static_cast<const char*> (a.body.getData());
    const auto size = (juce::int64) a.body.getSize();
    const auto limit = a.bytesToSend >= 0 ? juce::jmin (a.bytesToSend, size) : size;
    const auto burst = a.pauseMs > 0 ? (juce::int64) a.bytesPerBurst : (juce::int64) 65536;

    const auto write = [&client] (const void* bytes, juce::int64 numBytes)
    {
        return client.write (bytes, (int) numBytes) == (int) numBytes;
    };

    for (juce::int64 sent = 0; sent < limit;)
    {
        if (a.pauseMs > 0)
        {
            juce::Thread::sleep (a.pauseMs);

            if (! keepGoing (client))
                return false;
        }

        if (threadShouldExit())
            return false;

        const auto numBytes = juce::jmin (burst, limit - sent);
        const auto chunkHead = juce::String::toHexString (numBytes) + "\r\n";

        if (a.chunked && ! write (chunkHead.toRawUTF8(), chunkHead.length()))
            return false;

        if (! write (data + sent, numBytes) || (a.chunked && ! write ("\r\n", 2)))
            return false;

        sent += numBytes;
    }

    return limit < size || ! a.chunked || write ("0\r\n\r\n", 5);
}

juce::String LoopbackHttpServer::headOf (const Answer& a)
{
    if (a.head.isNotEmpty())
        return a.head;

    auto head = "HTTP/1.1 " + juce::String (a.status) + " " + reasonFor (a.status) + "\r\n";

    if (a.chunked)
        head << "Transfer-Encoding: chunked\r\n";
    else if (a.declareLength && ! a.endless)
        head << "Content-Length: " << (juce::int64) a.body.getSize() << "\r\n";

    if (a.contentType.isNotEmpty())
        head << "Content-Type: " << a.contentType << "\r\n";

    if (a.location.isNotEmpty())
        head << "Location: " << a.location << "\r\n";

    return head + "Connection: close\r\n\r\n";
}

void LoopbackHttpServer::answer (juce::StreamingSocket& client)
{
    const auto requestLine = readHttpRequestHead (client).upToFirstOccurrenceOf ("\r\n", false, false);

    if (! requestLine.startsWith ("GET "))
        return;

    const auto target = requestLine.fromFirstOccurrenceOf (" /", false, false).upToFirstOccurrenceOf (" ", false, false);
    const auto a = answerFor (target);

    const auto stall = [&]
    {
        while (keepGoing (client))
            juce::Thread::sleep (10);
    };

    if (a.stallBeforeHead)
        return stall();

    const auto head = headOf (a);
    client.write (head.toRawUTF8(), (int) head.getNumBytesAsUTF8());

    if (a.stallAfterHead)
        return stall();

    do
    {
        if (! sendBody (client, a))
            return;
    }
    while (a.endless && ! threadShouldExit());
}

//==============================================================================
ScopedFirmwareServerBase::ScopedFirmwareServerBase (const juce::String& base)
    : previousBase (zuvo::Network::getFirmwareServerBase())
{
    zuvo::Network::setFirmwareServerBase (base);
}

ScopedFirmwareServerBase::~ScopedFirmwareServerBase()
{
    zuvo::Network::setFirmwareServerBase (previousBase);
}

//==============================================================================
ScopedShortTimeouts::ScopedShortTimeouts()
    : previous (zuvo::Network::getTimeouts())
{
    zuvo::Network::setTimeouts ({ 3000, 3000, 20000, 20000 });
}

ScopedShortTimeouts::~ScopedShortTimeouts()
{
    zuvo::Network::setTimeouts (previous);
}
