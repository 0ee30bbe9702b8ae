#include <gtest/gtest.h>
#include <zuvo_firmware/zuvo_firmware.h>

#include "common/LoopbackHttpServer.h"
#include "gui/WizardHarness.h"
#include "lookup/HangingLookup.h"

// Transfers from broken and hostile servers, which write their answers raw:
// every header counts as sent, only a whole answer counts, reading stops at
// the size limit, redirects stay within their rules, deadlines and cancels
// end a transfer whatever the server or the name server does, and the message
// loop runs all the time.

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
    zuvo::HttpAnswer fetch (const juce::String& path, juce::int64 limit = 4096,
                            int deadlineMs = zuvo::Network::getTimeouts().imageDeadlineMs)
    {
        return zuvo::Network::fetch (juce::URL (server.getBaseAddress() + path), limit, deadlineMs);
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
        { "short drip", answerWith (20, [] (Answer& a) { a.pauseMs = 10; }), Outcome::complete, 20 },
        { "cut short", answerWith (3000, [] (Answer& a) { a.bytesToSend = 1000; }), Outcome::incomplete, 1000 },
        { "no length, closed early", answerWith (3000, [] (Answer& a) { a.declareLength = false; a.bytesToSend = 1000; }),
          Outcome::incomplete, 1000 },
        { "no length at all", answerWith (3000, [] (Answer& a) { a.declareLength = false; }), Outcome::incomplete, 3000 },
        { "declared over the limit", answerWith (5000), Outcome::tooLarge, 0 },
        { "endless", answerWith (1000, [] (Answer& a) { a.endless = true; }), Outcome::tooLarge, 4097 },
        { "stalled after the head", answerWith (3000, [] (Answer& a) { a.stallAfterHead = true; }), Outcome::incomplete, 0 },
        { "stalled before the head", answerWith (3000, [] (Answer& a) { a.stallBeforeHead = true; }), Outcome::incomplete, 0 },
        { "chunked", answerWith (3000, [] (Answer& a) { a.chunked = true; a.pauseMs = 1; a.bytesPerBurst = 700; }),
          Outcome::complete, 3000 },
        { "chunked, cut short", answerWith (3000, [] (Answer& a) { a.chunked = true; a.bytesToSend = 1000; }),
          Outcome::incomplete, 1000 },
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
    drip.pauseMs = 50;   // a minute at this pace: the time-out ends it first
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

TEST_F (FirmwareDownload, ACancelEndsATransferWithinASecondEvenInSilenceAndStopsTheNextOne)
{
    struct Case { const char* what; Answer answer; };
    const Case cases[] =
    {
        { "dripping", answerWith (1 << 16, [] (Answer& a) { a.pauseMs = 3; }) },   // some 200 s
        { "silent before the head", answerWith (1 << 16, [] (Answer& a) { a.stallBeforeHead = true; }) },
        { "silent after the head", answerWith (1 << 16, [] (Answer& a) { a.stallAfterHead = true; }) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        server.serve ("image.bin", c.answer);
        const auto requestsBefore = server.getNumRequests();
        double cancelledAt = 0;

        // Cancels once the server has the request, while the client waits for it.
        gui_test::WhileWaiting user ([&]
        {
            if (cancelledAt == 0 && server.getNumRequests() > requestsBefore)
                cancelledAt = juce::Time::getMillisecondCounterHiRes();
        });

        const zuvo::Network::ScopedCancelCheck check ([&cancelledAt] { return cancelledAt > 0; });
        EXPECT_EQ (fetch ("image.bin", 1 << 20).outcome, Outcome::cancelled);
        EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - cancelledAt, 1000.0);

        const auto requests = server.getNumRequests();
        EXPECT_EQ (fetch ("image.bin").outcome, Outcome::cancelled);
        EXPECT_EQ (server.getNumRequests(), requests);
    }
}

TEST_F (FirmwareDownload, BurstsThatKeepAheadOfTheStallRuleEndAtTheDeadline)
{
    // 600 bytes a second, far above the 100 a second that the stall rule
    // asks for, for a minute and more.
    server.serve ("image.bin", answerWith (1 << 16, [] (Answer& a) { a.pauseMs = 500; a.bytesPerBurst = 300; }));
    const auto started = juce::Time::getMillisecondCounterHiRes();

    const auto answer = fetch ("image.bin", 1 << 20, 2500);
    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - started;

    EXPECT_EQ (answer.outcome, Outcome::incomplete);
    EXPECT_GE (answer.body.getSize(), 600u);   // the bursts were arriving when the deadline came
    EXPECT_GE (elapsed, 2500.0);
    EXPECT_LT (elapsed, 4500.0);
}

//==============================================================================
/** A head as a server writes it, and a body that follows it as it is. */
Answer rawAnswer (const juce::String& head, const juce::MemoryBlock& body = {}, bool chunked = false)
{
    Answer a;
    a.head = head;
    a.chunked = chunked;
    a.pauseMs = chunked ? 1 : 0;
    a.bytesPerBurst = 1000;

    if (! body.isEmpty())
        a.body = body;

    return a;
}

TEST_F (FirmwareDownload, EveryHeaderCountsInAnyOrderCaseAndSpacing)
{
    const auto body = bytes (3000);
    const auto dripped = [] (Answer a) { a.pauseMs = 1; a.bytesPerBurst = 600; return a; };

    struct Case { const char* what; Answer answer; Outcome expected; int status; const char* contentType; };
    const Case cases[] =
    {
        { "type first, no blank", rawAnswer ("HTTP/1.1 200 OK\r\nContent-Type:text/html\r\nContent-Length: 3000\r\n\r\n", body),
          Outcome::complete, 200, "text/html" },
        { "lower-case names", rawAnswer ("HTTP/1.1 200 OK\r\ncontent-length:3000\r\ncontent-type:  application/octet-stream \r\n\r\n", body),
          Outcome::complete, 200, "application/octet-stream" },
        { "chunked first", rawAnswer ("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Type: application/octet-stream\r\n\r\n", body, true),
          Outcome::complete, 200, "application/octet-stream" },
        { "chunked, no blank", rawAnswer ("HTTP/1.1 200 OK\r\nConnection: close\r\ntransfer-encoding:chunked\r\n\r\n", body, true),
          Outcome::complete, 200, "" },
        { "lengths that agree", rawAnswer ("HTTP/1.1 200 OK\r\nContent-Length: 3000\r\nContent-Length: 3000\r\n\r\n", body),
          Outcome::complete, 200, "" },
        { "lengths that disagree", dripped (rawAnswer ("HTTP/1.1 200 OK\r\nContent-Length: 3000\r\nContent-Length: 600\r\n\r\n", body)),
          Outcome::incomplete, 200, "" },
        { "lengths that disagree, the short one first",
          dripped (rawAnswer ("HTTP/1.1 200 OK\r\nContent-Length:600\r\ncontent-length:3000\r\n\r\n", body)),
          Outcome::incomplete, 200, "" },
        { "a list of lengths that disagree", dripped (rawAnswer ("HTTP/1.1 200 OK\r\nContent-Length: 3000, 600\r\n\r\n", body)),
          Outcome::incomplete, 200, "" },
        { "partial content", rawAnswer ("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-2999/9000\r\nContent-Length: 3000\r\n\r\n", body),
          Outcome::complete, 206, "" },
        { "a status line, then silence", [] { auto a = rawAnswer ("HTTP/1.1 200 OK\r\n"); a.stallAfterHead = true; return a; }(),
          Outcome::incomplete, 0, "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        server.serve ("image.bin", c.answer);

        const auto answer = fetch ("image.bin");

        EXPECT_EQ (answer.outcome, c.expected);
        EXPECT_EQ (answer.statusCode, c.status);
        EXPECT_EQ (answer.valuesOf ("CONTENT-TYPE").joinIntoString ("|"), c.contentType);

        if (c.expected == Outcome::complete)
        {
            EXPECT_EQ (answer.body, body);
        }
    }
}

TEST_F (FirmwareDownload, ARedirectIsFollowedWhereverItsLocationStands)
{
    server.serve ("fw/image.bin", 200, bytes (600));
    server.serve ("fw/image.bin?v=2", 200, bytes (700));
    server.serve ("first", rawAnswer ("HTTP/1.1 302 Found\r\nLocation:/fw/image.bin\r\nContent-Length: 0\r\n\r\n"));
    server.serve ("fw/same", rawAnswer ("HTTP/1.1 301 Moved\r\nlocation: image.bin?v=2\r\n\r\n"));
    server.serve ("fw/query", rawAnswer ("HTTP/1.1 307 Moved\r\nLocation: ?v=2\r\nContent-Length: 0\r\n\r\n"));
    server.serve ("fw/image.bin?v=3", rawAnswer ("HTTP/1.1 302 Found\r\nLocation: #part\r\n\r\n"));

    EXPECT_EQ (fetch ("first").body, bytes (600));
    EXPECT_EQ (fetch ("fw/same").body, bytes (700));

    // File names as servers pass them on: with blanks, and in UTF-8.
    server.serve ("fw/new%20image.bin", 200, bytes (900));
    server.serve ("fw/%C3%BC.bin", 200, bytes (1000));
    server.serve ("blank", rawAnswer ("HTTP/1.1 302 Found\r\nLocation: " + server.getBaseAddress() + "fw/new image.bin\r\n\r\n"));
    server.serve ("utf8", rawAnswer (juce::String::fromUTF8 ("HTTP/1.1 302 Found\r\nLocation: /fw/\xc3\xbc.bin\r\n\r\n")));
    EXPECT_EQ (fetch ("blank").body, bytes (900));
    EXPECT_EQ (fetch ("utf8").body, bytes (1000));

    server.serve ("fw/query?v=2", 200, bytes (800));
    EXPECT_EQ (fetch ("fw/query").body, bytes (800));

    // A fragment leads back to the same address: a loop that ends at the redirect limit.
    EXPECT_EQ (fetch ("fw/image.bin?v=3").outcome, Outcome::refusedRedirect);
    EXPECT_EQ (server.getNumRequests ("fw/image.bin?v=3"), zuvo::HttpReader::maxRedirects + 1);
}

TEST (FirmwareRedirects, RelativeLocationsResolveAsABrowserResolvesThem)
{
    const juce::String from = "https://a.example/fw/dir/x.bin?old=1#top";

    struct Case { const char* location; const char* resolved; };
    const Case cases[] =
    {
        { "?q", "https://a.example/fw/dir/x.bin?q" },
        { "#f", "https://a.example/fw/dir/x.bin?old=1#f" },
        { "y.bin", "https://a.example/fw/dir/y.bin" },
        { "../y.bin", "https://a.example/fw/y.bin" },
        { "./sub/../y.bin?z", "https://a.example/fw/dir/y.bin?z" },
        { "/y.bin", "https://a.example/y.bin" },
        { "//b.example/y.bin", "https://b.example/y.bin" },
        { "http://b.example/y.bin", "http://b.example/y.bin" },
        { "new image.bin", "https://a.example/fw/dir/new%20image.bin" },
        { "https://b.example/fw/new image.bin?v=1 2", "https://b.example/fw/new%20image.bin?v=1%202" },
        { "/fw/\xc3\xbc.bin", "https://a.example/fw/%C3%BC.bin" },
        { "already%20encoded.bin", "https://a.example/fw/dir/already%20encoded.bin" },
        { "", "" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (zuvo::HttpReader::resolveLocation (from, juce::String::fromUTF8 (c.location)), c.resolved) << c.location;
}

TEST_F (FirmwareDownload, AServerIsReachableOnlyWhenTheHeadOfItsAnswerEnds)
{
    zuvo::Network::setTimeouts ({ 500, 3000, 20000, 20000 });

    struct Case { const char* what; Answer answer; bool reachable; };
    const Case cases[] =
    {
        { "a whole head", rawAnswer ("HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n", bytes (3000)), true },
        { "a head, then silence", [] { auto a = answerWith (3000); a.stallAfterHead = true; return a; }(), true },
        { "a status line, then silence", [] { auto a = rawAnswer ("HTTP/1.1 200 OK\r\n"); a.stallAfterHead = true; return a; }(), false },
        { "half a head, then silence", [] { auto a = rawAnswer ("HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n"); a.stallAfterHead = true; return a; }(),
          false },
        { "not found", rawAnswer ("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"), false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        server.serve ("firmware.xml", c.answer);
        EXPECT_EQ (zuvo::Network::canConnectToWebsite (juce::URL (server.getBaseAddress() + "firmware.xml")), c.reachable);
    }
}

TEST_F (FirmwareDownload, ANameLookUpThatHangsEndsAtEveryTimeOutAndAtACancel)
{
    // The name server does not answer for twenty seconds; nothing may wait for it.
    const juce::URL address ("http://" + juce::String (hanging_lookup::host) + "/firmware.xml");
    zuvo::Network::setTimeouts ({ 2000, 3000, 20000, 20000 });
    hanging_lookup::ScopedMarks lookUps;
    const auto msSince = [] (double start) { return juce::Time::getMillisecondCounterHiRes() - start; };

    auto started = juce::Time::getMillisecondCounterHiRes();
    EXPECT_FALSE (zuvo::Network::canConnectToWebsite (address));
    EXPECT_EQ (lookUps.countBegun(), 3);
    EXPECT_LT (msSince (started), 10000.0);   // three attempts of 2 s, not three look-ups of 20

    started = juce::Time::getMillisecondCounterHiRes();
    EXPECT_EQ (zuvo::Network::fetch (address, 4096, 20000).outcome, Outcome::incomplete);
    EXPECT_LT (msSince (started), 6000.0);    // the connection's time-out of 3 s

    double cancelledAt = 0;
    gui_test::WhileWaiting user ([&]
    {
        if (cancelledAt == 0 && lookUps.countBegun() == 5)
            cancelledAt = juce::Time::getMillisecondCounterHiRes();
    });

    const zuvo::Network::ScopedCancelCheck check ([&cancelledAt] { return cancelledAt > 0; });
    EXPECT_EQ (zuvo::Network::fetch (address, 4096, 20000).outcome, Outcome::cancelled);
    EXPECT_LT (msSince (cancelledAt), 1000.0);
}

} // namespace
