#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <X11/keysym.h>

#include "common/TemporaryFolder.h"
#include "gui/XSession.h"

// Runs the editor as separate processes on an X server of the test's own (so
// that no other test's windows get in the way), each run with its own settings
// folder and single-instance folder.

namespace
{
const char* const windowTitle = "Vantor M+/X+ Rilo V2.19";
const juce::Point<int> fader1 { 52, 64 + 282 };

/** Where the function box shows the name of the selected control's function. */
const juce::Rectangle<int> functionName { 346, 520, 40, 16 };

//==============================================================================
class AppShell : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (display, nullptr) << "could not start an X server";
        root = DefaultRootWindow (display);

        // Window creation on the screen, and the requests to bring a window to
        // the front, which go to the root window.
        XSelectInput (display, root, SubstructureNotifyMask);
        takeEvents();
    }

    std::unique_ptr<x_session::Process> startEditor()
    {
        auto editor = x_session::startEditor (VTR_APP_PATH, server, settings.folder.getFullPathName().toStdString(),
                                              instances.folder.getFullPathName().toStdString());
        EXPECT_TRUE (editor->wasStarted());
        return editor;
    }

    std::vector<Window> shownWindows()           { return server.shownWindows(); }

    /** Does the act until the editor ends: a busy machine may have the editor
        still bringing its window to the front when the first one arrives. */
    bool endsAfter (x_session::Process& editor, const std::function<void()>& act)
    {
        return x_session::repeatUntil (act, [&editor] { return ! editor.isRunning(); });
    }

    void sendKey (Window window, KeySym key)     { server.sendKey (window, key); }

    //==============================================================================
    std::vector<XEvent> takeEvents()
    {
        std::vector<XEvent> events;
        XSync (display, False);

        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);
            events.push_back (event);
        }

        return events;
    }

    /** The editor's one window, once it shows painted content: the editor has
        built it and runs its message loop. */
    Window waitForTheWindow()
    {
        Window found = None;
        x_session::waitUntil ([&]
        {
            const auto windows = shownWindows();
            found = windows.size() == 1 && server.showsPaintedContent (windows.front()) ? windows.front() : None;
            return found != None;
        });

        if (found == None)
            ADD_FAILURE() << "the editor shows no window";

        return found;
    }

    juce::String titleOf (Window window)
    {
        XTextProperty name {};
        if (XGetWMName (display, window, &name) == 0 || name.value == nullptr)
            return {};

        const auto title = juce::String::fromUTF8 (reinterpret_cast<const char*> (name.value), (int) name.nitems);
        XFree (name.value);
        return title;
    }

    juce::Rectangle<int> boundsOf (Window window)
    {
        XWindowAttributes attributes {};
        XGetWindowAttributes (display, window, &attributes);
        return { attributes.x, attributes.y, attributes.width, attributes.height };
    }

    /** The window's Motif functions (resize 2, minimise 8, maximise 16, close 32). */
    long motifFunctionsOf (Window window)
    {
        const auto atom = XInternAtom (display, "_MOTIF_WM_HINTS", True);
        Atom type;
        int format;
        unsigned long count, remaining;
        unsigned char* data = nullptr;

        if (XGetWindowProperty (display, window, atom, 0, 5, False, AnyPropertyType, &type, &format,
                                &count, &remaining, &data) != Success || data == nullptr)
            return -1;

        const auto functions = count >= 2 ? reinterpret_cast<long*> (data)[1] : -1;
        XFree (data);
        return functions;
    }

    void click (Window window, juce::Point<int> position)    { server.clickAt (window, position.x, position.y); }

    /** Clicks fader 1 until the function box shows its function's name; a
        second click changes nothing. */
    bool selectFader1 (Window window)
    {
        return x_session::repeatUntil ([&] { click (window, fader1); },
                                       [&] { return showsLightTextIn (window, functionName); });
    }

    void askToClose (Window window)              { server.askToClose (window); }

    /** Whether any pixel of the window's area is as light as the text of a (disabled) combo box. */
    bool showsLightTextIn (Window window, juce::Rectangle<int> area)
    {
        auto* image = XGetImage (display, window, area.getX(), area.getY(), (unsigned int) area.getWidth(),
                                 (unsigned int) area.getHeight(), AllPlanes, ZPixmap);

        if (image == nullptr)
            return false;

        auto light = false;
        for (int y = 0; y < area.getHeight() && ! light; ++y)
            for (int x = 0; x < area.getWidth() && ! light; ++x)
                light = juce::Colour ((juce::uint32) XGetPixel (image, x, y) | 0xff000000).getPerceivedBrightness() > 0.45f;

        XDestroyImage (image);
        return light;
    }

    bool hasSettingsFile() const
    {
        return settings.folder.getNumberOfChildFiles (juce::File::findFiles) > 0;
    }

    const x_session::PrivateServer server;
    Display* const display = server.getDisplay();
    Window root = None;

    const ScopedTemporaryFolder settings { "vtr-shell-settings" };
    const ScopedTemporaryFolder instances { "vtr-shell-instances" };
};
} // namespace

//==============================================================================
TEST_F (AppShell, OpensOneCentredFixedSizeWindowWithThePitchBendNamesFilled)
{
    const auto editor = startEditor();
    const auto window = waitForTheWindow();
    ASSERT_NE (window, None);

    EXPECT_EQ (titleOf (window), windowTitle);

    const auto bounds = boundsOf (window);
    const auto screen = juce::Rectangle<int> (DisplayWidth (display, 0), DisplayHeight (display, 0));
    EXPECT_EQ (bounds.getWidth(), 1000);
    EXPECT_EQ (bounds.getHeight(), 576);
    EXPECT_NEAR (bounds.getCentreX(), screen.getCentreX(), 1);
    EXPECT_NEAR (bounds.getCentreY(), screen.getCentreY(), 1);

    const auto functions = motifFunctionsOf (window);
    EXPECT_EQ (functions & (8 | 32), 8 | 32) << "minimise and close";
    EXPECT_EQ (functions & (2 | 16), 0) << "neither resize nor maximise";

    // The faders of the "mackie" map send pitch bend, whose names are filled in
    // at start: selecting a fader shows "0 ) ---" in the function box, where an
    // empty name table would leave only the number.
    EXPECT_FALSE (showsLightTextIn (window, functionName));
    EXPECT_TRUE (selectFader1 (window));
}

TEST_F (AppShell, FollowsItsContentToTheExtenderView)
{
    const auto editor = startEditor();
    const auto window = waitForTheWindow();
    ASSERT_NE (window, None);

    // Once a control has the focus (a click on fader 1 gives it), the X key
    // switches to the extender view, which is narrower; pressing it again
    // changes nothing.
    ASSERT_TRUE (selectFader1 (window));
    EXPECT_TRUE (x_session::repeatUntil ([&] { sendKey (window, XK_x); },
                                         [&] { return boundsOf (window).getWidth() == 786; }));
    EXPECT_EQ (boundsOf (window).getHeight(), 576);
}

TEST_F (AppShell, EscapeAndTheCloseButtonEndTheProgramAndWriteTheSettings)
{
    const struct { const char* name; std::function<void (Window)> act; } ways[] = {
        { "Escape",       [this] (Window w) { sendKey (w, XK_Escape); } },
        { "close button", [this] (Window w) { askToClose (w); } },
    };

    for (const auto& way : ways)
    {
        SCOPED_TRACE (way.name);
        settings.folder.deleteRecursively();
        settings.folder.createDirectory();

        const auto editor = startEditor();
        const auto window = waitForTheWindow();
        ASSERT_NE (window, None);
        EXPECT_FALSE (hasSettingsFile());

        ASSERT_TRUE (endsAfter (*editor, [&] { way.act (window); }));
        EXPECT_EQ (editor->getExitCode(), 0);
        EXPECT_TRUE (hasSettingsFile());
        EXPECT_TRUE (shownWindows().empty());
    }
}

TEST_F (AppShell, ASecondStartBringsTheFirstToTheFrontAndEnds)
{
    const auto first = startEditor();
    const auto window = waitForTheWindow();
    ASSERT_NE (window, None);
    takeEvents();

    const auto second = startEditor();
    ASSERT_TRUE (x_session::waitUntil ([&] { return ! second->isRunning(); }));
    EXPECT_EQ (second->getExitCode(), 0);

    auto windowsCreated = 0;
    auto broughtToFront = false;
    const auto activeWindow = XInternAtom (display, "_NET_ACTIVE_WINDOW", False);

    x_session::waitUntil ([&]
    {
        for (const auto& event : takeEvents())
        {
            windowsCreated += event.type == CreateNotify ? 1 : 0;
            broughtToFront = broughtToFront || (event.type == ClientMessage && event.xclient.window == window
                                                 && event.xclient.message_type == activeWindow);
        }

        return broughtToFront;
    });

    EXPECT_TRUE (broughtToFront);
    EXPECT_EQ (windowsCreated, 0);
    EXPECT_FALSE (hasSettingsFile()) << "only the first instance writes it, when it ends";
    ASSERT_TRUE (first->isRunning());

    ASSERT_TRUE (endsAfter (*first, [&] { sendKey (window, XK_Escape); }));
    EXPECT_TRUE (hasSettingsFile());
}

TEST_F (AppShell, StartsAfterAnInstanceThatWasKilled)
{
    {
        const auto killed = startEditor();
        ASSERT_NE (waitForTheWindow(), None);
        killed->kill();
        ASSERT_TRUE (x_session::waitUntil ([&] { return ! killed->isRunning(); }));
    }

    const auto next = startEditor();
    const auto window = waitForTheWindow();
    ASSERT_NE (window, None);
    EXPECT_TRUE (endsAfter (*next, [&] { sendKey (window, XK_Escape); }));
}
