#include <gtest/gtest.h>

#include "common/LoopbackHttpServer.h"
#include "common/SimulatedStudio.h"
#include "gui/ModalScript.h"
#include "gui/WizardHarness.h"
#include "lookup/HangingLookup.h"

// Online mode: the firmware catalogue and the image come from the firmware
// server (a loopback server here). The whole run goes through the real
// wizard window, as the editor opens it, with the user's clicks posted from
// the message thread; snapshots of the window go to the build folder.

namespace
{
using Wizard = zuvo::FirmwareUpgradeComponent;

const char* const catalogue =
    "<firmwares>"
    "<firmware pid=\"156\" name=\"Vantor M+\" version=\"1.2\" fw=\"fw/vantor_m+_v1.2.bin\"/>"
    "<firmware pid=\"161\" name=\"Vantor X+\" version=\"1.2\" fw=\"fw/vantor_x+_v1.2.bin\"/>"
    "<firmware pid=\"156\" name=\"Vantor M+\" version=\"1.3\" fw=\"fw/vantor_m+_v1.3.bin\"/>"
    "</firmwares>";

/** Takes one snapshot of the wizard while the upload writes its blocks. */
class SnapshotDuringUpload : private juce::Timer
{
public:
    SnapshotDuringUpload()   { startTimer (5); }
    ~SnapshotDuringUpload() override   { stopTimer(); }

    Wizard* wizard = nullptr;
    juce::File taken;

private:
    void timerCallback() override
    {
        if (wizard != nullptr && wizard->progressCaption.getText() == "Installing..." && wizard->progress > 0.85)
        {
            stopTimer();
            taken = gui_test::saveSnapshot (*wizard->getTopLevelComponent(), "wizard-uploading");
        }
    }
};

class WizardOnline : public ::testing::Test
{
protected:
    void SetUp() override
    {
        firmwareServer.server.serve ("firmware.xml", 200, catalogue);
        firmwareServer.server.serve ("fw/vantor_m+_v1.2.bin", 200, gui_test::FirmwareFiles::imageOf (512));
        firmwareServer.server.serve ("fw/vantor_m+_v1.3.bin", 200, gui_test::FirmwareFiles::imageOf (1024));
    }

    /** Continues when the wizard's window is on top and the wizard is at this step. */
    gui_test::ModalScript& whenWizardAt (int step, std::function<void (Wizard&)> action)
    {
        return script.then ([step] (juce::Component& c)
                            {
                                auto* w = gui_test::wizardOnTop (c);
                                return w != nullptr && w->step == step && ! zuvo::protectUiQ;
                            },
                            [action] (juce::Component& c) { action (*gui_test::wizardOnTop (c)); });
    }

    static void click (Wizard& wizard, int stepButton)   { wizard.stepButtons[stepButton].triggerClick(); }

    gui_test::ScopedUpgraderModes modes;
    SimulatedStudio studio;
    ScopedFirmwareServer firmwareServer;
    gui_test::AlertRecorder alerts;
    gui_test::ModalScript script;
    gui_test::ModalWatchdog watchdog { 8000 };
};

//==============================================================================
TEST_F (WizardOnline, UpgradeFromConnectToSuccessThroughTheWizardWindow)
{
    midiports::SimulatedLoader* loader = nullptr;
    studio.controller.setLoaderSetup ([&loader] (midiports::SimulatedLoader& l) { loader = &l; });

    SnapshotDuringUpload duringUpload;
    juce::StringArray firmwareChoices;
    juce::File atStart, afterSuccess;

    whenWizardAt (-1, [&] (Wizard& w)
                  {
                      duringUpload.wizard = &w;
                      atStart = gui_test::saveSnapshot (*w.getTopLevelComponent(), "wizard-start");
                      click (w, 0);
                  });
    gui_test::answerDeviceDialog (script, "Vantor M+ MIDI 1");
    whenWizardAt (0, [] (Wizard& w) { click (w, 1); });
    whenWizardAt (1, [] (Wizard& w) { click (w, 2); });
    gui_test::answerDeviceDialog (script, "Zuvo firmware upgrade manager");
    whenWizardAt (2, [] (Wizard& w) { click (w, 3); });
    script.onDialog ("Firmware Version", [&] (juce::DialogWindow&, juce::Component& content)
                     {
                         auto* box = gui_test::findComboBox (content);

                         for (int i = 0; i < box->getNumItems(); ++i)
                             firmwareChoices.add (box->getItemText (i));

                         gui_test::chooseAndConfirm (content, "Vantor M+ V1.3");
                     });
    whenWizardAt (3, [] (Wizard& w) { click (w, 4); });
    script.then ([] (juce::Component& c) { return c.getName() == "Firmware Upgrade Success"; },
                 [&] (juce::Component& box)
                 {
                     afterSuccess = gui_test::saveSnapshot (*duringUpload.wizard->getTopLevelComponent(), "wizard-success");
                     static_cast<juce::AlertWindow&> (box).triggerButtonClick ("OK");
                 });
    whenWizardAt (-1, [] (Wizard& w) { w.userTriedToCloseWindow(); });

    EXPECT_EQ (zuvo::FirmwareUpgrade::runWizardDialogModal (156, nullptr, false, true), 0);

    EXPECT_TRUE (script.isDone()) << script.stepsLeft() << " steps left";
    EXPECT_TRUE (watchdog.dismissed.isEmpty()) << watchdog.dismissed.joinIntoString (", ");
    EXPECT_EQ (firmwareChoices, juce::StringArray ("Vantor M+ V1.2", "Vantor M+ V1.3"));
    ASSERT_EQ (alerts.alerts.size(), 1u);
    EXPECT_EQ (alerts.alerts[0].message, "Your firmware has been upgraded!");
    EXPECT_EQ (alerts.alerts[0].icon, juce::MessageBoxIconType::InfoIcon);

    ASSERT_NE (loader, nullptr);
    EXPECT_EQ (loader->getReceivedImage(), gui_test::FirmwareFiles::imageOf (1024));
    EXPECT_TRUE (loader->getErrors().isEmpty());
    EXPECT_FALSE (studio.controller.isInUpgradeMode());
    EXPECT_EQ (firmwareServer.server.getNumRequests ("fw/vantor_m+_v1.3.bin"), 1);

    EXPECT_TRUE (atStart.existsAsFile());
    EXPECT_TRUE (duringUpload.taken.existsAsFile());
    EXPECT_TRUE (afterSuccess.existsAsFile());
}

TEST_F (WizardOnline, WithoutACatalogueEntryStep4GoesToTheFileChooser)
{
    struct Case { const char* name; std::function<void (LoopbackHttpServer&)> setup; };
    const Case cases[] = {
        { "server without catalogue", [] (LoopbackHttpServer& s) { s.serve ("firmware.xml", 404, juce::String()); } },
        { "no entry for the product", [] (LoopbackHttpServer& s)
          { s.serve ("firmware.xml", 200, "<firmwares><firmware pid=\"161\" name=\"Vantor X+\" version=\"1\" fw=\"x.bin\"/></firmwares>"); } },
        { "not a catalogue", [] (LoopbackHttpServer& s) { s.serve ("firmware.xml", 200, "no xml here"); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        c.setup (firmwareServer.server);
        gui_test::WizardHost host (156, true);
        std::vector<Wizard::FileRequest> requests;
        host.wizard.chooseFile = [&requests] (const Wizard::FileRequest& r) { requests.push_back (r); return juce::File(); };

        host.wizard.updateProgress (2);
        host.wizard.doStep4();

        ASSERT_EQ (requests.size(), 1u);
        EXPECT_EQ (requests[0].patterns, "*.bin");
        EXPECT_TRUE (alerts.alerts.empty());
        EXPECT_EQ (host.wizard.step, 2);
        EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Activate", "Select Version"));
    }
}

TEST_F (WizardOnline, AnythingButAWholeImageIsRefusedAndLoadsNothing)
{
    using Answer = LoopbackHttpServer::Answer;
    const auto image = [] (std::function<void (Answer&)> change)
    {
        Answer a;
        a.body = gui_test::FirmwareFiles::imageOf (2048);
        a.contentType = "application/octet-stream";
        change (a);
        return a;
    };
    const juce::String page = "<!DOCTYPE html><html><body>Please log in</body></html>" + juce::String::repeatedString (" ", 600);

    struct Case { const char* name; Answer answer; };
    const Case cases[] =
    {
        { "missing image", image ([] (Answer& a) { a.status = 404; }) },
        { "server error", image ([] (Answer& a) { a.status = 500; }) },
        { "cut short", image ([] (Answer& a) { a.bytesToSend = 1500; }) },
        { "no length, closed early", image ([] (Answer& a) { a.declareLength = false; a.bytesToSend = 1500; }) },
        { "web page", image ([&page] (Answer& a) { a.body.replaceAll (page.toRawUTF8(), page.length()); a.contentType = "text/html"; }) },
        { "web page as binary", image ([&page] (Answer& a) { a.body.replaceAll (page.toRawUTF8(), page.length()); }) },
        { "text", image ([] (Answer& a) { a.contentType = "text/plain; charset=utf-8"; }) },
        { "too small", image ([] (Answer& a) { a.body.setSize (100); }) },
        { "over the limit", image ([] (Answer& a) { a.body.setSize (2 * 1024 * 1024, true); }) },
        { "endless", image ([] (Answer& a) { a.endless = true; }) },
        { "stalled", image ([] (Answer& a) { a.stallAfterHead = true; }) },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        alerts.alerts.clear();
        firmwareServer.server.serve ("fw/vantor_m+_v1.2.bin", c.answer);
        gui_test::WizardHost host (156, true);

        script.onDialog ("Firmware Version", [] (juce::DialogWindow&, juce::Component& content)
                         {
                             gui_test::chooseAndConfirm (content, "Vantor M+ V1.2");
                         })
              .pressAlertButton ("OK", "Firmware Download");

        host.wizard.updateProgress (2);
        host.wizard.doStep4();

        EXPECT_TRUE (script.isDone());
        ASSERT_EQ (alerts.alerts.size(), 1u);
        EXPECT_EQ (alerts.alerts[0].message, "Could not download firmware file");
        EXPECT_EQ (alerts.alerts[0].icon, juce::MessageBoxIconType::WarningIcon);
        EXPECT_EQ (host.wizard.step, 2);
        EXPECT_EQ (host.enabledSteps(), juce::StringArray ("Connect", "Enter", "Activate", "Select Version"));
        EXPECT_EQ (host.wizard.midiHandler->programSize, 0u);
    }
}

TEST_F (WizardOnline, AutoAndSeriesRunsSendNothingAfterAFailedDownload)
{
    // An earlier run left another product's image in memory.
    gui_test::FirmwareFiles files;
    firmwareServer.server.serve ("fw/vantor_m+_v1.2.bin", 404, juce::String());

    for (const auto series : { false, true })
    {
        SCOPED_TRACE (series ? "series" : "auto");
        alerts.alerts.clear();
        studio.controller.clearHistory();
        bAuto = true;
        bSerial = series;

        gui_test::WizardHost host (156, true);
        host.wizard.midiHandler = std::make_unique<Wizard::MidiInputHandler> (host.wizard, 161);
        host.wizard.midiHandler->openProgram (files.write ("vantor_x+_v1.0.bin", 1024));

        script.pressAlertButton ("OK", "Firmware Download");
        host.wizard.doStep1();

        EXPECT_TRUE (script.isDone());
        ASSERT_EQ (alerts.alerts.size(), 1u);
        EXPECT_EQ (alerts.alerts[0].message, "Could not download firmware file");
        EXPECT_EQ (host.wizard.step, 2);
        EXPECT_EQ (host.wizard.midiHandler->programSize, 0u);
        EXPECT_EQ (zuvo::_num_UpgradeSuccess, 0);

        // The unit waits in upgrade mode and its loader got nothing.
        EXPECT_TRUE (studio.controller.isInUpgradeMode());
        EXPECT_TRUE (studio.controller.getUpgradeArrivals().empty());

        bAuto = false;
        bSerial = false;
        host.close();
        EXPECT_FALSE (studio.controller.isInUpgradeMode());
    }
}

TEST_F (WizardOnline, AnswersAreReadAsSentOnlyTheWholeImageIsFlashed)
{
    using Answer = LoopbackHttpServer::Answer;
    const auto image = gui_test::FirmwareFiles::imageOf (1024);
    const auto raw = [] (const juce::String& head, const juce::MemoryBlock& body, std::function<void (Answer&)> change = nullptr)
    {
        Answer a;
        a.head = head;

        if (! body.isEmpty())   // the framework copies an empty block from a null pointer
            a.body = body;

        if (change != nullptr)
            change (a);

        return a;
    };
    const auto text = [] (const juce::String& t) { return juce::MemoryBlock (t.toRawUTF8(), t.getNumBytesAsUTF8()); };
    const auto padded = [&text] (const juce::String& opening) { return text (opening + juce::String::repeatedString ("x", 1100)); };
    const auto withImage = [&text, &image] (const juce::String& opening)
    {
        auto block = text (opening);
        block.append (image.getData(), image.getSize());
        return block;
    };
    const auto bareHead = [] (const juce::MemoryBlock& body) { return "HTTP/1.1 200 OK\r\nContent-Length: " + juce::String ((int) body.getSize()) + "\r\n\r\n"; };
    const juce::String html = "<!DOCTYPE html><html><body>Please log in</body></html>";

    // An image may open with any byte; what follows it shows that it is no text.
    auto binaryOpening = image;
    binaryOpening.copyFrom ("<a\0\0", 0, 4);

    struct Case { const char* name; Answer answer; bool flashed; };
    const Case cases[] =
    {
        { "chunked, Transfer-Encoding first", raw ("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Type: application/octet-stream\r\n\r\n",
                                                   image, [] (Answer& a) { a.chunked = true; a.pauseMs = 1; a.bytesPerBurst = 300; }), true },
        { "behind a redirect, Location first", raw ("HTTP/1.1 302 Found\r\nLocation:/fw/good.bin\r\nContent-Length:0\r\n\r\n", {}), true },
        { "headers without blanks", raw ("HTTP/1.1 200 OK\r\ncontent-length:1024\r\ncontent-type:application/octet-stream\r\n\r\n", image), true },
        { "binary that opens with \"<\"", raw (bareHead (binaryOpening), binaryOpening), true },
        { "web page, its type first", raw ("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 1024\r\n\r\n", image), false },
        { "web page, no blank after the colon", raw ("HTTP/1.1 200 OK\r\nContent-Length: 1024\r\nContent-Type:text/html\r\n\r\n", image), false },
        { "lengths that disagree", raw ("HTTP/1.1 200 OK\r\nContent-Length: 1024\r\nContent-Length: 600\r\n\r\n", image,
                                        [] (Answer& a) { a.pauseMs = 1; a.bytesPerBurst = 200; }), false },
        { "partial content", raw ("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-1023/4096\r\nContent-Length: 1024\r\n\r\n", image), false },
        { "another success status", raw ("HTTP/1.1 203 Non-Authoritative Information\r\nContent-Length: 1024\r\n\r\n", image), false },
        { "comment", raw (bareHead (padded ("<!-- login -->")), padded ("<!-- login -->")), false },
        { "meta", raw (bareHead (padded ("<meta charset=\"utf-8\">")), padded ("<meta charset=\"utf-8\">")), false },
        { "any element", raw (bareHead (padded ("\r\n <p>Sign in")), padded ("\r\n <p>Sign in")), false },
        { "page after a byte order mark", raw (bareHead (padded (juce::String::fromUTF8 ("\xef\xbb\xbf") + html)), padded (juce::String::fromUTF8 ("\xef\xbb\xbf") + html)), false },
        { "meta, then binary", raw (bareHead (withImage ("<meta charset=utf-8>")), withImage ("<meta charset=utf-8>")), false },
        { "JSON", raw (bareHead (padded ("{\"error\": \"")), padded ("{\"error\": \"")), false },
        { "bursts to the deadline", raw (bareHead (image), image, [] (Answer& a) { a.pauseMs = 500; a.bytesPerBurst = 100; }), false },
        { "silence", raw (bareHead (image), image, [] (Answer& a) { a.stallBeforeHead = true; }), false },
    };

    auto timeouts = zuvo::Network::getTimeouts();
    timeouts.imageDeadlineMs = 3000;
    zuvo::Network::setTimeouts (timeouts);
    firmwareServer.server.serve ("fw/good.bin", 200, image);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        firmwareServer.server.serve ("fw/vantor_m+_v1.2.bin", c.answer);
        const auto flashed = c.answer.body.isEmpty() ? image : c.answer.body;
        gui_test::checkAutomaticOnlineUpgrade (studio, script, alerts, c.flashed ? std::optional (flashed) : std::nullopt);
    }
}

TEST_F (WizardOnline, EscapeOrTheCloseButtonCancelsADownloadWhileTheWindowStaysLive)
{
    // Two roads that would hold the download for minutes: a server that
    // drips the image, and an image behind a host whose name server does not
    // answer. The cancel comes once the download is under way on its road.
    LoopbackHttpServer::Answer drip;
    drip.body = gui_test::FirmwareFiles::imageOf (1 << 16);
    drip.pauseMs = 3;   // several minutes
    firmwareServer.server.serve ("fw/vantor_m+_v1.2.bin", drip);
    firmwareServer.server.redirect ("fw/vantor_m+_v1.3.bin", "http://" + juce::String (hanging_lookup::host) + "/fw/m.bin");
    hanging_lookup::ScopedMarks lookUps;

    // Neither road may end of its own before the cancel comes.
    auto timeouts = zuvo::Network::getTimeouts();
    timeouts.transferMs = 15000;
    zuvo::Network::setTimeouts (timeouts);

    struct Road { const char* what; const char* firmware; std::function<int()> progress; };
    const Road roads[] =
    {
        { "dripping server", "Vantor M+ V1.2", [this] { return firmwareServer.server.getNumRequests ("fw/vantor_m+_v1.2.bin"); } },
        { "hanging look-up", "Vantor M+ V1.3", [&lookUps] { return lookUps.countBegun(); } },
    };

    for (const auto& road : roads)
    for (const auto byClosing : { false, true })
    {
        SCOPED_TRACE (juce::String (road.what) + (byClosing ? ", close button" : ", Escape"));
        gui_test::WizardHost host (156, true);
        auto& wizard = host.wizard;
        int ticksDuringDownload = 0;
        double cancelledAt = 0;
        const auto progressBefore = road.progress();

        script.onDialog ("Firmware Version", [&road] (juce::DialogWindow&, juce::Component& content)
                         {
                             gui_test::chooseAndConfirm (content, road.firmware);
                         });

        // Counts the window's repaints during the download, then cancels it.
        gui_test::WhileWaiting user ([&]
        {
            if (! zuvo::protectUiQ || cancelledAt > 0)
                return;

            wizard.repaint();

            if (++ticksDuringDownload < 20 || road.progress() == progressBefore)
                return;

            cancelledAt = juce::Time::getMillisecondCounterHiRes();

            if (byClosing)
                wizard.userTriedToCloseWindow();
            else
                wizard.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey));
        });

        wizard.updateProgress (2);
        wizard.doStep4();

        ASSERT_GT (cancelledAt, 0.0);
        EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - cancelledAt, 1000.0);
        EXPECT_GE (ticksDuringDownload, 20);
        EXPECT_TRUE (alerts.alerts.empty());
        EXPECT_EQ (wizard.midiHandler->programSize, 0u);
        EXPECT_FALSE (zuvo::protectUiQ);
        EXPECT_EQ (host.getWindow().isVisible(), ! byClosing);
    }
}

} // namespace
