#include "LoopbackHttpsServer.h"

namespace
{
    // Debian's interpreter, which python3-h2 installs for (a python3 found
    // first on the path may not have it).
    constexpr const char* python = "/usr/bin/python3";

    // Long enough for the interpreter to start on a loaded machine; a server
    // that does not answer within it has failed.
    constexpr int answerTimeoutMs = 30000;
}

LoopbackHttpsServer::LoopbackHttpsServer (const TestCertificates& certificates)
    : process ({ python, VTR_TEST_HELPERS_DIR "/loopback_https_server.py",
                 certificates.getServerCertificate().getFullPathName(),
                 certificates.getServerKey().getFullPathName() })
{
    port = juce::JSON::parse (process.readLine (answerTimeoutMs))["port"];
}

juce::String LoopbackHttpsServer::getBaseAddress() const
{
    return port > 0 ? "https://127.0.0.1:" + juce::String (port) + "/" : juce::String();
}

juce::var LoopbackHttpsServer::ask (const juce::var& command)
{
    if (port <= 0 || ! process.writeLine (juce::JSON::toString (command, true)))
        return {};

    return juce::JSON::parse (process.readLine (answerTimeoutMs));
}

bool LoopbackHttpsServer::serve (const juce::String& path, const Answer& answer)
{
    juce::Array<juce::var> headers;

    for (const auto& [name, value] : answer.headers)
        headers.add (juce::Array<juce::var> { name, value });

    auto* command = new juce::DynamicObject();
    command->setProperty ("serve", path);
    command->setProperty ("status", answer.status);
    command->setProperty ("headers", headers);
    command->setProperty ("body", juce::Base64::toBase64 (answer.body.getData(), answer.body.getSize()));
    command->setProperty ("declareLength", answer.declareLength);
    command->setProperty ("resetAfter", answer.resetAfterBytes);
    command->setProperty ("refuseWithoutUserAgent", answer.refuseWithoutUserAgent);

    return ask (juce::var (command))["served"].toString() == path;
}

bool LoopbackHttpsServer::serve (const juce::String& path, const juce::MemoryBlock& body, bool declareLength)
{
    Answer answer;
    answer.body = body;
    answer.declareLength = declareLength;
    return serve (path, answer);
}

juce::Array<juce::var> LoopbackHttpsServer::requestsFor (const juce::String& path)
{
    auto* command = new juce::DynamicObject();
    command->setProperty ("seen", path);

    const auto requests = ask (juce::var (command))["requests"];

    if (const auto* list = requests.getArray())
        return *list;

    return {};
}

int LoopbackHttpsServer::getNumRequests (const juce::String& path)
{
    return requestsFor (path).size();
}

juce::StringArray LoopbackHttpsServer::getHeaderValues (const juce::String& path, const juce::String& headerName)
{
    juce::StringArray values;

    for (const auto& request : requestsFor (path))
        for (const auto& header : *request.getArray())
            if (header[0].toString().equalsIgnoreCase (headerName))
                values.add (header[1].toString());

    return values;
}
