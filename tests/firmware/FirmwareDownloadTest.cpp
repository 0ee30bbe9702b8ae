#include <gtest/gtest.h>
#include <zuvo_firmware/zuvo_firmware.h>

#include "common/LoopbackHttpServer.h"

// Transfers from broken and hostile servers: only a whole answer counts,
// reading stops at the size limit, redirects stay within their rules, and the
// message loop runs all the time.

namespace
{
using Answer = LoopbackHttpServer::Answer;
using Outcome = zuvo::HttpAnswer::Outcome;

juce::MemoryBlock bytes (int size)
{
    juce::MemoryBlock block ((size_t) size);

    for (int i = 0; i < size; ++i)
        block[i] = (char) (i * 13);

    return block;
}

Answer answerWith (int size, std::function<void (Answer&)> change = nullptr)
{
    Answer a;
    a.body = bytes (size);

    if (change != nullptr)
        change (a);

    return a;
}

/** Counts the message loop's timer ticks and the longest time between two. */
class LoopWatch : private juce::Timer
{
public:
    LoopWatch()    { startTimer (10); }
    ~LoopWatch() override   { stopTimer(); }

    int ticks = 0;
    double longestGapMs = 0;

private:
    void timerCallback() override
    {
        const auto now = juce::Time::getMillisecondCounterHiRes();

        if (ticks++ > 0)
            longestGapMs = juce::jmax (longestGapMs, now - last);

        last = now;
    }

    double last = 0;
};

class FirmwareDownload : public ::testing::Test
{
protected:
    zuvo::HttpAnswer fetch (const juce::String& path, juce::int64 limit = 4096)
    {
        return zuvo::Network::fetch (juce::URL (server.getBaseAddress() + path), limit);
    }

    ScopedFirmwareServer firmwareServer;
    LoopbackHttpServer& server = firmwareServer.server;
};

//==============================================================================
TEST_F (FirmwareDownload, OnlyAWholeAnswerWithinTheLimitIsComplete)
{
    struct Case { const char* what; Answer answer; Outcome expected; size_t bytesKept; };
    const Case cases[] =
    {
        { "whole body", answerWith (3000), Outcome::complete, 3000 },
        { "exactly the limit", answerWith (4096), Outcome::complete, 4096 },
        { "short drip", answerWith (20, [] (Answer& a) { a.msPerByte = 10; }), Outcome::complete, 20 },
        { "cut short", answerWith (3000, [] (Answer& a) { a.bytesToSend = 1000; }), Outcome::incomplete, 1000 },
        { "no length, closed early", answerWith (3000, [] (Answer& a) { a.declareLength = false; a.bytesToSend = 1000; }),
          Outcome::incomplete, 1000 },
        { "no length at all", answerWith (3000, [] (Answer& a) { a.declareLength = false; }), Outcome::incomplete, 3000 },
        { "declared over the limit", answerWith (5000), Outcome::tooLarge, 0 },
        { "endless", answerWith (1000, [] (Answer& a) { a.endless = true; }), Outcome::tooLarge, 4097 },
        { "stalled after the head", answerWith (3000, [] (Answer& a) { a.stallAfterHead = true; }), Outcome::incomplete, 0 },
        { "stalled before the head", answerWith (3000, [] (Answer& a) { a.stallBeforeHead = true; }), Outcome::incomplete, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        server.serve ("image.bin", c.answer);

        const auto answer = fetch ("image.bin");

        EXPECT_EQ (answer.outcome, c.expected);
        EXPECT_EQ (answer.body.getSize(), c.bytesKept);
    }
}

TEST_F (FirmwareDownload, RedirectsAreFollowedFiveTimesAtMost)
{
    server.serve ("image.bin", 200, bytes (600));

    for (int i = 1; i <= 6; ++i)
        server.redirect ("hop" + juce::String (i), i == 1 ? "/image.bin" : "hop" + juce::String (i - 1));

    const auto afterFive = fetch ("hop5");
    EXPECT_EQ (afterFive.outcome, Outcome::complete);
    EXPECT_EQ (afterFive.body, bytes (600));

    EXPECT_EQ (fetch ("hop6").outcome, Outcome::refusedRedirect);
    EXPECT_EQ (server.getNumRequests ("image.bin"), 1);

    server.redirect ("elsewhere", "file:///etc/passwd");
    EXPECT_EQ (fetch ("elsewhere").outcome, Outcome::refusedRedirect);
}

TEST (FirmwareRedirects, NeverFromHttpsToAnythingElse)
{
    struct Case { const char* from; const char* to; bool allowed; };
    const Case cases[] =
    {
        { "https://a.example/fw/x.bin", "https://b.example/x.bin", true },
        { "https://a.example/fw/x.bin", "http://b.example/x.bin", false },
        { "HTTPS://a.example/fw/x.bin", "HTTP://a.example/x.bin", false },
        { "https://a.example/fw/x.bin", "ftp://a.example/x.bin", false },
        { "http://a.example/fw/x.bin", "https://a.example/x.bin", true },
        { "http://a.example/fw/x.bin", "http://a.example/x.bin", true },
        { "http://a.example/fw/x.bin", "file:///etc/passwd", false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (zuvo::HttpReader::mayFollowRedirect (c.from, c.to), c.allowed) << c.from << " -> " << c.to;
}

TEST_F (FirmwareDownload, ADrippingCatalogueLeavesTheMessageLoopRunning)
{
    juce::String catalogue = "<firmwares>";

    for (int i = 0; i < 20; ++i)
        catalogue << "<firmware pid=\"156\" name=\"Vantor M+\" version=\"1." << i << "\" fw=\"m.bin\"/>";

    Answer drip;
    drip.body = juce::MemoryBlock (catalogue.toRawUTF8(), catalogue.getNumBytesAsUTF8());
    drip.msPerByte = 50;   // a minute at this pace: the time-out ends it first
    server.serve ("firmware.xml", drip);

    LoopWatch watch;
    juce::ValueTree firmwares ("firmwares");
    const auto result = zuvo::Product::fetchAvailableFirmwares (156, firmwares);

    EXPECT_EQ (result.getErrorMessage(), "Error connecting to server");
    EXPECT_EQ (firmwares.getNumChildren(), 0);
    EXPECT_GT (watch.ticks, 10);
    EXPECT_LT (watch.longestGapMs, 2000.0);   // blocked, the loop would stand still until the time-out
}

TEST_F (FirmwareDownload, ACatalogueOverTheSizeLimitIsNotRead)
{
    for (const auto endless : { false, true })
    {
        SCOPED_TRACE (endless ? "endless" : "ten megabytes");
        Answer big;
        big.body.setSize (endless ? 65536 : 10 * 1024 * 1024, true);
        big.body.fillWith ('<');
        big.endless = endless;
        server.serve ("firmware.xml", big);

        juce::ValueTree firmwares ("firmwares");
        EXPECT_EQ (zuvo::Product::fetchAvailableFirmwares (156, firmwares).getErrorMessage(), "Error connecting to server");
    }
}

TEST_F (FirmwareDownload, ACancelCheckEndsATransferAndStopsTheNextOne)
{
    server.serve ("image.bin", answerWith (1 << 16, [] (Answer& a) { a.msPerByte = 3; }));   // some 200 s
    const auto started = juce::Time::getMillisecondCounterHiRes();
    bool cancel = false;
    juce::Timer::callAfterDelay (300, [&cancel] { cancel = true; });

    const zuvo::Network::ScopedCancelCheck check ([&cancel] { return cancel; });
    EXPECT_EQ (fetch ("image.bin", 1 << 20).outcome, Outcome::cancelled);
    EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - started, 60000.0);

    const auto requests = server.getNumRequests();
    EXPECT_EQ (fetch ("image.bin").outcome, Outcome::cancelled);
    EXPECT_EQ (server.getNumRequests(), requests);
}

} // namespace
