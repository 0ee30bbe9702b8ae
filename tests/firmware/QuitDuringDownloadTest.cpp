#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>

#include "common/LoopbackHttpServer.h"
#include "common/TemporaryFolder.h"
#include "gui/XSession.h"
#include "lookup/HangingLookup.h"

// The editor as a separate process, on an X server of the test's own, with
// the simulated units and a loopback firmware server. The image download
// would last minutes: the server drips the image, or sends the editor to a
// host whose name server does not answer. Each kind of quit arrives while
// the download runs (the close request as the window manager sends it), and
// the program must be gone within two seconds.

namespace
{
const char* const mainWindowTitle = "Vantor M+/X+ Rilo V2.19";
const char* const hubWarningTitle = "Firmware Upgrader about to start";
const char* const wizardTitle = "Firmware Upgrade";
const char* const imagePath = "fw/vantor_m+_v1.2.bin";
const char* const imageBehindHangingLookUpPath = "fw/vantor_m+_v1.3.bin";

const char* const deviceDialogTitle = "Choose Your Zuvo Device";
const char* const firmwareDialogTitle = "Firmware Version";

const juce::Point<int> firmwareUpgradeButton { 94, 557 };

/** The middle of a step button of the wizard (0 to 4). */
juce::Point<int> wizardStepButton (int step)   { return { 62 + 96 * step, 102 }; }

class QuitDuringDownload : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (server.getDisplay(), nullptr) << "could not start an X server";

        LoopbackHttpServer::Answer drip;
        drip.body.setSize (1 << 16, true);
        drip.pauseMs = 3;   // some three minutes
        firmwareServer.serve (imagePath, drip);
        firmwareServer.redirect (imageBehindHangingLookUpPath, "http://" + juce::String (hanging_lookup::host) + "/fw/m.bin");
    }

    /** The catalogue offers one image, at this path. */
    void offerImageAt (const char* path)
    {
        firmwareServer.serve ("firmware.xml", 200,
                              "<firmwares><firmware pid=\"156\" name=\"Vantor M+\" version=\"1.2\" fw=\"" + juce::String (path) + "\"/></firmwares>");
    }

    std::unique_ptr<x_session::Process> startEditor()
    {
        std::vector<std::string> environment { "VTR_SIMULATED_MIDI=1",
                                               "VTR_FIRMWARE_SERVER=" + firmwareServer.getBaseAddress().toStdString(),
                                               "LD_PRELOAD=" VTR_HANGING_LOOKUP_PATH,
                                               std::string (hanging_lookup::markFileVariable) + "=" + lookUps.file };
       #if defined (__SANITIZE_ADDRESS__)
        // The sanitizer's leak check at exit takes seconds of its own, which
        // no quit could keep within the limit; the other tests that start
        // the editor check its leaks. The preloaded look-up comes before the
        // sanitizer's runtime, which it would otherwise refuse.
        const auto* options = std::getenv ("ASAN_OPTIONS");
        environment.push_back (std::string ("ASAN_OPTIONS=") + (options != nullptr ? options : "")
                               + ":detect_leaks=0:verify_asan_link_order=0");
       #endif

        return x_session::startEditor (VTR_APP_PATH, server, settings.folder.getFullPathName().toStdString(),
                                       instances.folder.getFullPathName().toStdString(), environment);
    }

    /** The shown window of this title, once there is one; None when patience runs out. */
    Window waitForWindow (const char* title) const
    {
        Window found = None;
        x_session::waitUntil ([&] { return (found = server.findShownWindow (title)) != None; });
        return found;
    }

    /** Clicks the point of the window, twice a second, until a window of the
        title shows (None when it has not within the limit). */
    Window clickUntilShown (Window window, juce::Point<int> point, const char* title,
                            std::chrono::milliseconds limit = x_session::patience) const
    {
        Window shown = None;
        x_session::repeatUntil ([&] { server.clickAt (window, point.x, point.y); },
                                [&] { return (shown = server.findShownWindow (title)) != None; }, limit);
        return shown;
    }

    /** Clicks a dialog's "OK" button (100 by 30, left of "Cancel" in the
        bottom right corner) until the dialog has gone. With no window
        manager to keep a dialog above its owner, it is raised first. */
    bool confirm (Window dialog, const char* title) const
    {
        auto* display = server.getDisplay();

        return x_session::repeatUntil ([&]
        {
            XWindowAttributes size {};
            XGetWindowAttributes (display, dialog, &size);
            XRaiseWindow (display, dialog);
            server.clickAt (dialog, size.width - 160, size.height - 25);
        }, [&] { return server.findShownWindow (title) == None; });
    }

    /** From the editor's window to a running download, as a user clicks
        through the wizard's first four steps, until the count of what the
        download does on its road has grown. */
    void startDownload (Window mainWindow, const std::function<int()>& progress)
    {
        const auto progressBefore = progress();
        const auto warning = clickUntilShown (mainWindow, firmwareUpgradeButton, hubWarningTitle);
        ASSERT_NE (warning, None) << "no hub warning";

        Window wizard = None;
        ASSERT_TRUE (x_session::repeatUntil ([&] { server.sendKey (warning, XK_Return); },
                                             [&] { return (wizard = server.findShownWindow (wizardTitle)) != None; }))
            << "no wizard";

        const auto unitDialog = clickUntilShown (wizard, wizardStepButton (0), deviceDialogTitle);
        ASSERT_NE (unitDialog, None) << "step 1 dialog";
        ASSERT_TRUE (confirm (unitDialog, deviceDialogTitle)) << "step 1";

        // "Activate" answers once "Enter" has put the unit into upgrade mode.
        Window upgradePortDialog = None;

        for (int i = 0; i < 4 && upgradePortDialog == None; ++i)
        {
            server.clickAt (wizard, wizardStepButton (1).x, wizardStepButton (1).y);
            upgradePortDialog = clickUntilShown (wizard, wizardStepButton (2), deviceDialogTitle, std::chrono::seconds (5));
        }

        ASSERT_TRUE (upgradePortDialog != None && confirm (upgradePortDialog, deviceDialogTitle)) << "steps 2 and 3";

        const auto versionDialog = clickUntilShown (wizard, wizardStepButton (3), firmwareDialogTitle);
        ASSERT_TRUE (versionDialog != None && confirm (versionDialog, firmwareDialogTitle)) << "step 4";

        ASSERT_TRUE (x_session::waitUntil ([&] { return progress() > progressBefore; })) << "the download never started";
    }

    x_session::PrivateServer server;
    ScopedTemporaryFolder settings { "quit-settings" }, instances { "quit-instances" };
    LoopbackHttpServer firmwareServer;
    hanging_lookup::ScopedMarks lookUps;
};

//==============================================================================
TEST_F (QuitDuringDownload, EveryKindOfQuitEndsTheProgramWithinTwoSeconds)
{
    struct Road { const char* what; const char* path; std::function<int()> progress; };
    const Road roads[] =
    {
        { "dripping server", imagePath, [this] { return firmwareServer.getNumRequests (imagePath); } },
        { "hanging look-up", imageBehindHangingLookUpPath, [this] { return lookUps.countBegun(); } },
    };

    struct Quit { const char* what; std::function<void (x_session::Process&, Window)> quit; };
    const Quit quits[] =
    {
        { "the window manager's close", [this] (x_session::Process&, Window w) { server.askToClose (w); } },
        { "SIGINT", [] (x_session::Process& editor, Window) { editor.kill (SIGINT); } },
        { "SIGTERM", [] (x_session::Process& editor, Window) { editor.kill (SIGTERM); } },
    };

    for (const auto& road : roads)
    for (const auto& q : quits)
    {
        SCOPED_TRACE (juce::String (road.what) + ", " + q.what);
        offerImageAt (road.path);
        auto editor = startEditor();
        ASSERT_TRUE (editor->wasStarted());

        const auto mainWindow = waitForWindow (mainWindowTitle);
        ASSERT_NE (mainWindow, None) << "the editor shows no window";
        ASSERT_NO_FATAL_FAILURE (startDownload (mainWindow, road.progress));

        q.quit (*editor, mainWindow);
        const auto quitAt = std::chrono::steady_clock::now();
        const auto endedInTime = editor->endsWithin (2000);

        // How long it did take tells a slow exit from a quit that was missed.
        if (! endedInTime)
            editor->endsWithin (30000);

        const auto tookMs = std::chrono::duration_cast<std::chrono::milliseconds> (std::chrono::steady_clock::now() - quitAt).count();
        EXPECT_TRUE (endedInTime) << (editor->isRunning() ? "still running after " : "it ended after ") << tookMs << " ms";
        EXPECT_EQ (editor->getExitCode(), 0);   // a quit, not a crash or a kill
    }
}

} // namespace
