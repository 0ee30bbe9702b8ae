#include <gtest/gtest.h>

#include "AboutComponent.h"
#include "common/LoopbackConnectProxy.h"
#include "common/LoopbackHttpsServer.h"
#include "common/SimulatedStudio.h"
#include "gui/ModalScript.h"
#include "gui/WizardHarness.h"

// The networks users have: an HTTP/2 server over TLS, an office's CONNECT
// proxy, a server that refuses requests without a User-Agent; through the
// real reader, and through the real wizard with the simulated loader.
// Certificate checks stay on: the servers show certificates of an authority
// made for the test, which only the test trusts.

namespace
{
using Answer = LoopbackHttpsServer::Answer;
using Outcome = zuvo::HttpAnswer::Outcome;

const char* const imagePath = "fw/vantor_m+_v1.3.bin";
const char* const catalogue =
    "<firmwares>"
    "<firmware pid=\"161\" name=\"Vantor X+\" version=\"1.2\" fw=\"fw/vantor_x+_v1.2.bin\"/>"
    "<firmware pid=\"156\" name=\"Vantor M+\" version=\"1.3\" fw=\"fw/vantor_m+_v1.3.bin\"/>"
    "</firmwares>";

juce::MemoryBlock text (const char* t)
{
    return juce::MemoryBlock (t, strlen (t));
}

Answer answerWith (const juce::MemoryBlock& body, std::function<void (Answer&)> change = nullptr)
{
    Answer a;
    a.body = body;

    if (change != nullptr)
        change (a);

    return a;
}

zuvo::HttpAnswer fetch (const juce::String& address)
{
    return zuvo::Network::fetch (juce::URL (address), 1 << 20, zuvo::Network::getTimeouts().imageDeadlineMs);
}

class SecureNetworks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (firmwareServer.certificates.areMade()) << firmwareServer.certificates.whyNotMade;
        ASSERT_TRUE (server.getBaseAddress().isNotEmpty()) << "the HTTPS server did not start";
    }

    juce::String addressOf (const juce::String& path) const   { return server.getBaseAddress() + path; }

    ScopedSecureFirmwareServer firmwareServer;
    LoopbackHttpsServer& server = firmwareServer.server;
};

//==============================================================================
TEST_F (SecureNetworks, AnHttp2BodyIsWholeWhenItsStreamEndsCleanly)
{
    const auto small = gui_test::FirmwareFiles::imageOf (3000);
    const auto large = gui_test::FirmwareFiles::imageOf (300000);   // many windows of flow control

    struct Case { const char* what; Answer answer; Outcome expected; };
    const Case cases[] =
    {
        { "with its length", answerWith (small), Outcome::complete },
        { "without a length", answerWith (small, [] (Answer& a) { a.declareLength = false; }), Outcome::complete },
        { "large, without a length", answerWith (large, [] (Answer& a) { a.declareLength = false; }), Outcome::complete },
        { "reset mid-body", answerWith (small, [] (Answer& a) { a.resetAfterBytes = 1000; }), Outcome::incomplete },
        { "reset mid-body, without a length", answerWith (small, [] (Answer& a) { a.declareLength = false; a.resetAfterBytes = 1000; }),
          Outcome::incomplete },
        { "ended short of its length", answerWith (small, [] (Answer& a) { a.declareLength = false; a.headers = { { "content-length", "6000" } }; }),
          Outcome::incomplete },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ASSERT_TRUE (server.serve ("image.bin", c.answer));

        const auto answer = fetch (addressOf ("image.bin"));

        EXPECT_EQ (answer.outcome, c.expected);

        if (c.expected == Outcome::complete)
        {
            EXPECT_EQ (answer.statusCode, 200);
            EXPECT_EQ (answer.body, c.answer.body);
        }
    }
}

TEST_F (SecureNetworks, ACatalogueIsReadWithOrWithoutItsLength)
{
    for (const auto declareLength : { true, false })
    {
        SCOPED_TRACE (declareLength ? "with its length" : "without a length");
        ASSERT_TRUE (server.serve ("firmware.xml", text (catalogue), declareLength));
        juce::ValueTree firmwares ("firmwares");

        const auto result = zuvo::Product::fetchAvailableFirmwares (156, firmwares);

        EXPECT_TRUE (result.wasOk()) << result.getErrorMessage();
        ASSERT_EQ (firmwares.getNumChildren(), 1);
        EXPECT_EQ (firmwares.getChild (0)["fw"].toString(), imagePath);
    }
}

TEST_F (SecureNetworks, ThroughAConnectProxyTheServersOwnAnswerIsRead)
{
    LoopbackConnectProxy proxy;
    const ScopedProxyEnvironment environment (proxy.getAddress());
    const auto image = gui_test::FirmwareFiles::imageOf (3000);
    ASSERT_TRUE (server.serve ("image.bin", answerWith (image, [] (Answer& a) { a.headers = { { "content-type", "application/octet-stream" } }; })));

    EXPECT_TRUE (zuvo::Network::canConnectToWebsite (juce::URL (addressOf ("image.bin"))));
    const auto answer = fetch (addressOf ("image.bin"));

    EXPECT_EQ (answer.outcome, Outcome::complete);
    EXPECT_EQ (answer.statusCode, 200);
    EXPECT_EQ (answer.body, image);
    EXPECT_EQ (answer.valuesOf ("Content-Type"), juce::StringArray ("application/octet-stream"));
    EXPECT_TRUE (answer.valuesOf ("Proxy-Agent").isEmpty());
    EXPECT_TRUE (answer.valuesOf ("Via").isEmpty());

    // Each request is a connection of its own: every one went through a tunnel.
    EXPECT_GE (server.getNumRequests ("image.bin"), 2);
    EXPECT_GE (proxy.getNumTunnels(), server.getNumRequests ("image.bin"));
}

TEST (UntrustedCertificates, AreRefused)
{
    const ScopedShortTimeouts timeouts;
    const TestCertificates certificates, another;
    ASSERT_TRUE (certificates.areMade() && another.areMade()) << certificates.whyNotMade << another.whyNotMade;
    LoopbackHttpsServer server (certificates);
    ASSERT_TRUE (server.getBaseAddress().isNotEmpty()) << "the HTTPS server did not start";
    ASSERT_TRUE (server.serve ("image.bin", gui_test::FirmwareFiles::imageOf (3000)));
    const auto address = server.getBaseAddress() + "image.bin";

    struct Case { const char* what; juce::File trusted; };
    const Case cases[] =
    {
        { "the system's authorities", juce::File() },
        { "another test authority", another.getAuthority() },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const ScopedTrustedCertificates trust (c.trusted);

        EXPECT_FALSE (zuvo::Network::canConnectToWebsite (juce::URL (address)));
        EXPECT_EQ (fetch (address).outcome, Outcome::incomplete);
    }

    EXPECT_EQ (server.getNumRequests ("image.bin"), 0);

    // With its own authority trusted, the same server is read: the refusals were the certificate's.
    const ScopedTrustedCertificates trust (certificates.getAuthority());
    EXPECT_EQ (fetch (address).outcome, Outcome::complete);
}

//==============================================================================
class SecureWizard : public SecureNetworks
{
protected:
    void SetUp() override
    {
        SecureNetworks::SetUp();
        ASSERT_TRUE (server.serve ("firmware.xml", text (catalogue)));
    }

    gui_test::ScopedUpgraderModes modes;
    SimulatedStudio studio;
    gui_test::AlertRecorder alerts;
    gui_test::ModalScript script;
    gui_test::ModalWatchdog watchdog { 8000 };

    const juce::MemoryBlock image = gui_test::FirmwareFiles::imageOf (1024);
};

TEST_F (SecureWizard, AnHttp2ImageIsFlashedOnlyWhenItsStreamEndsCleanly)
{
    struct Case { const char* what; Answer answer; bool flashed; };
    const Case cases[] =
    {
        { "with its length", answerWith (image), true },
        { "without a length", answerWith (image, [] (Answer& a) { a.declareLength = false; }), true },
        { "reset mid-image", answerWith (image, [] (Answer& a) { a.resetAfterBytes = 600; }), false },
        { "reset mid-image, without a length", answerWith (image, [] (Answer& a) { a.declareLength = false; a.resetAfterBytes = 600; }), false },
    };

    // The catalogue comes without a length too.
    ASSERT_TRUE (server.serve ("firmware.xml", text (catalogue), false));

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ASSERT_TRUE (server.serve (imagePath, c.answer));
        gui_test::checkAutomaticOnlineUpgrade (studio, script, alerts, c.flashed ? std::optional (image) : std::nullopt);
    }
}

TEST_F (SecureWizard, TheWholeOnlineRoadGoesThroughAConnectProxy)
{
    LoopbackConnectProxy proxy;
    const ScopedProxyEnvironment environment (proxy.getAddress());
    ASSERT_TRUE (server.serve (imagePath, image));

    gui_test::checkAutomaticOnlineUpgrade (studio, script, alerts, image);

    // Reachability and catalogue, then the image: each a connection of its own, through a tunnel.
    const auto catalogueRequests = server.getNumRequests ("firmware.xml");
    EXPECT_GE (catalogueRequests, 2);
    EXPECT_EQ (server.getNumRequests (imagePath), 1);
    EXPECT_GE (proxy.getNumTunnels(), catalogueRequests + 1);
}

TEST_F (SecureWizard, AServerThatWantsAUserAgentIsToldTheProgramAndServesTheUpgrade)
{
    const auto refusingAnonymous = [] (const juce::MemoryBlock& body)
    {
        return answerWith (body, [] (Answer& a) { a.refuseWithoutUserAgent = true; });
    };
    ASSERT_TRUE (server.serve ("firmware.xml", refusingAnonymous (text (catalogue))));
    ASSERT_TRUE (server.serve (imagePath, refusingAnonymous (image)));

    gui_test::checkAutomaticOnlineUpgrade (studio, script, alerts, image);

    juce::StringArray agents;

    for (const auto* path : { "firmware.xml", imagePath })
        agents.addArray (server.getHeaderValues (path, "User-Agent"));

    EXPECT_EQ (agents.size(), server.getNumRequests ("firmware.xml") + server.getNumRequests (imagePath));
    EXPECT_GE (agents.size(), 3);

    // A product token holds no blank: the program's name is written as one word.
    const auto program = juce::String ("VantorRilo/") + AboutComponent::versionNumber;

    for (const auto& agent : agents)
        EXPECT_TRUE (agent.startsWith (program)) << agent;
}

} // namespace
