#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "common/LoopbackHttpServer.h"
#include "common/TemporaryFolder.h"
#include "gui/XSession.h"

// The editor as a separate process, on an X server of the test's own with a
// window manager, with the simulated units and a loopback firmware server
// that drips the image for minutes. Each kind of quit arrives while the
// download runs, and the program must be gone within two seconds.

namespace
{
const char* const mainWindowTitle = "Vantor M+/X+ Rilo V2.19";
const char* const hubWarningTitle = "Firmware Upgrader about to start";
const char* const wizardTitle = "Firmware Upgrade";
const char* const imagePath = "fw/vantor_m+_v1.2.bin";

const juce::Point<int> firmwareUpgradeButton { 94, 557 };
const juce::Point<int> wizardConnectButton { 62, 102 };
const juce::Point<int> wizardProgressCaption { 257, 20 };

class QuitDuringDownload : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (server.getDisplay(), nullptr) << "could not start an X server";
        ASSERT_TRUE (server.startWindowManager()) << "could not start openbox";

        firmwareServer.serve ("firmware.xml", 200,
                              "<firmwares><firmware pid=\"156\" name=\"Vantor M+\" version=\"1.2\" fw=\"" + juce::String (imagePath) + "\"/></firmwares>");
        LoopbackHttpServer::Answer drip;
        drip.body.setSize (1 << 16, true);
        drip.pauseMs = 3;   // some three minutes
        firmwareServer.serve (imagePath, drip);
    }

    std::unique_ptr<x_session::Process> startEditor()
    {
        return x_session::startEditor (VTR_APP_PATH, server, settings.folder.getFullPathName().toStdString(),
                                       instances.folder.getFullPathName().toStdString(),
                                       { "VTR_SIMULATED_MIDI=1", "VTR_FIRMWARE_SERVER=" + firmwareServer.getBaseAddress().toStdString() });
    }

    /** The shown window of this title, once there is one; None after twenty seconds. */
    Window waitForWindow (const char* title) const
    {
        Window found = None;
        x_session::waitUntil ([&] { return (found = server.findShownWindow (title)) != None; });
        return found;
    }

    /** Clicks the point of the window, once a second, until a window of the title shows. */
    Window clickUntilShown (Window window, juce::Point<int> point, const char* title) const
    {
        for (int second = 0; second < 20; ++second)
        {
            server.clickAt (window, point.x, point.y);

            for (int i = 0; i < 20; ++i, x_session::sleepMs (50))
                if (const auto shown = server.findShownWindow (title); shown != None)
                    return shown;
        }

        return None;
    }

    /** Presses the keys together through the input extension, as a hand on the keyboard would. */
    void pressTogether (std::initializer_list<KeySym> keys) const
    {
        auto* display = server.getDisplay();

        for (auto key : keys)
            XTestFakeKeyEvent (display, XKeysymToKeycode (display, key), True, CurrentTime);

        for (auto key = std::rbegin (keys); key != std::rend (keys); ++key)
            XTestFakeKeyEvent (display, XKeysymToKeycode (display, *key), False, CurrentTime);

        XSync (display, False);
    }

    /** From the editor's window to a running download: the wizard in auto
        mode (its hidden key), started with "Connect", runs every step by
        itself up to the image. */
    void startDownload (Window mainWindow)
    {
        const auto requestsBefore = firmwareServer.getNumRequests (imagePath);
        const auto warning = clickUntilShown (mainWindow, firmwareUpgradeButton, hubWarningTitle);
        ASSERT_NE (warning, None) << "no hub warning";

        for (int second = 0; second < 20 && server.findShownWindow (wizardTitle) == None; ++second)
        {
            server.sendKey (warning, XK_Return);
            x_session::sleepMs (1000);
        }

        const auto wizard = waitForWindow (wizardTitle);
        ASSERT_NE (wizard, None) << "no wizard";

        server.clickAt (wizard, wizardProgressCaption.x, wizardProgressCaption.y);
        pressTogether ({ XK_Control_L, XK_Alt_L, XK_Shift_L, XK_a });
        server.clickAt (wizard, wizardConnectButton.x, wizardConnectButton.y);

        ASSERT_TRUE (x_session::waitUntil ([&] { return firmwareServer.getNumRequests (imagePath) > requestsBefore; }))
            << "the download never started";
    }

    x_session::PrivateServer server;
    ScopedTemporaryFolder settings { "quit-settings" }, instances { "quit-instances" };
    LoopbackHttpServer firmwareServer;
};

//==============================================================================
TEST_F (QuitDuringDownload, EveryKindOfQuitEndsTheProgramWithinTwoSeconds)
{
    struct Case { const char* what; std::function<void (x_session::Process&, Window)> quit; };
    const Case cases[] =
    {
        { "the window manager's close", [this] (x_session::Process&, Window w) { server.askToClose (w); } },
        { "SIGINT", [] (x_session::Process& editor, Window) { editor.kill (SIGINT); } },
        { "SIGTERM", [] (x_session::Process& editor, Window) { editor.kill (SIGTERM); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        auto editor = startEditor();
        ASSERT_TRUE (editor->wasStarted());

        const auto mainWindow = waitForWindow (mainWindowTitle);
        ASSERT_NE (mainWindow, None) << "the editor shows no window";
        ASSERT_NO_FATAL_FAILURE (startDownload (mainWindow));

        c.quit (*editor, mainWindow);

        EXPECT_TRUE (editor->endsWithin (2000));
        EXPECT_EQ (editor->getExitCode(), 0);   // a quit, not a crash or a kill
    }
}

} // namespace
