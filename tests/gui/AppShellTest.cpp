#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdlib>

// Runs the editor as separate processes on the test's X display, each with its
// own settings folder and single-instance folder, and watches its windows
// through the X server.

namespace
{
const char* const windowTitle = "Vantor M+/X+ Rilo V2.19";

/** The environment variable, set for the processes started while this lives. */
struct ScopedEnvironment
{
    ScopedEnvironment (const char* nameToSet, const juce::File& value) : name (nameToSet)
    {
        ::setenv (name, value.getFullPathName().toRawUTF8(), 1);
    }

    ~ScopedEnvironment()   { ::unsetenv (name); }

    const char* const name;
};

/** A folder of its own under the temporary folder, deleted afterwards. */
struct ScopedFolder
{
    explicit ScopedFolder (const char* prefix)
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile (prefix, {}))
    {
        folder.createDirectory();
    }

    ~ScopedFolder()   { folder.deleteRecursively(); }

    const juce::File folder;
};

/** One run of the editor. It is killed if the test ends before it does. */
struct AppRun
{
    AppRun()
    {
        EXPECT_TRUE (process.start (juce::StringArray { VTR_APP_PATH }, 0));
    }

    ~AppRun()
    {
        if (process.isRunning())
            process.kill();
    }

    bool endsWithin (int ms)    { return process.waitForProcessToFinish (ms); }

    juce::ChildProcess process;
};

//==============================================================================
class AppShell : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (display, nullptr) << "needs an X display";
        root = DefaultRootWindow (display);

        // The framework sets these window properties only where the atoms exist.
        for (const auto* name : { "_MOTIF_WM_HINTS", "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_RESIZE",
                                  "_NET_WM_ACTION_FULLSCREEN", "_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_CLOSE" })
            XInternAtom (display, name, False);

        // Window creation on the screen, and the requests to bring a window to
        // the front, which go to the root window.
        XSelectInput (display, root, SubstructureNotifyMask);
        XSync (display, False);
        takeEvents();
    }

    void TearDown() override
    {
        if (display != nullptr)
            XCloseDisplay (display);
    }

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

    std::vector<Window> windowsTitled (const char* title)
    {
        std::vector<Window> found;
        Window rootReturn, parent, *children = nullptr;
        unsigned int count = 0;
        XSync (display, False);

        if (XQueryTree (display, root, &rootReturn, &parent, &children, &count) == 0)
            return found;

        for (unsigned int i = 0; i < count; ++i)
        {
            XWindowAttributes attributes;
            char* name = nullptr;

            if (XGetWindowAttributes (display, children[i], &attributes) != 0 && attributes.map_state == IsViewable
                 && XFetchName (display, children[i], &name) != 0)
            {
                if (juce::String (name) == title)
                    found.push_back (children[i]);

                XFree (name);
            }
        }

        XFree (children);
        return found;
    }

    /** The editor's one window, once it is shown and painted. */
    Window waitForTheWindow()
    {
        for (int i = 0; i < 200; ++i)
        {
            const auto windows = windowsTitled (windowTitle);

            if (windows.size() == 1)
            {
                juce::Thread::sleep (300);
                return windows.front();
            }

            juce::Thread::sleep (25);
        }

        ADD_FAILURE() << "no window titled " << windowTitle;
        return None;
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

    void sendKey (Window window, KeySym key)
    {
        XKeyEvent event {};
        event.display = display;
        event.window = window;
        event.root = root;
        event.time = CurrentTime;
        event.same_screen = True;
        event.keycode = XKeysymToKeycode (display, key);

        event.type = KeyPress;
        XSendEvent (display, window, True, KeyPressMask, reinterpret_cast<XEvent*> (&event));
        event.type = KeyRelease;
        XSendEvent (display, window, True, KeyReleaseMask, reinterpret_cast<XEvent*> (&event));
        XSync (display, False);
    }

    void click (Window window, juce::Point<int> position)
    {
        XButtonEvent event {};
        event.display = display;
        event.window = window;
        event.root = root;
        event.time = CurrentTime;
        event.same_screen = True;
        event.button = Button1;
        event.x = position.x;
        event.y = position.y;

        event.type = ButtonPress;
        XSendEvent (display, window, True, ButtonPressMask, reinterpret_cast<XEvent*> (&event));
        XSync (display, False);
        juce::Thread::sleep (50);

        event.type = ButtonRelease;
        event.state = Button1Mask;
        XSendEvent (display, window, True, ButtonReleaseMask, reinterpret_cast<XEvent*> (&event));
        XSync (display, False);
    }

    /** What the window manager gets when the user clicks a window's close button. */
    void askToClose (Window window)
    {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = (long) XInternAtom (display, "WM_DELETE_WINDOW", False);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent (display, window, False, NoEventMask, &event);
        XSync (display, False);
    }

    /** Whether any pixel of the window's area is as dark as text. */
    bool showsTextIn (Window window, juce::Rectangle<int> area)
    {
        auto* image = XGetImage (display, window, area.getX(), area.getY(), (unsigned int) area.getWidth(),
                                 (unsigned int) area.getHeight(), AllPlanes, ZPixmap);

        if (image == nullptr)
            return false;

        auto dark = false;
        for (int y = 0; y < area.getHeight() && ! dark; ++y)
            for (int x = 0; x < area.getWidth() && ! dark; ++x)
                dark = juce::Colour ((juce::uint32) XGetPixel (image, x, y) | 0xff000000).getPerceivedBrightness() < 0.3f;

        XDestroyImage (image);
        return dark;
    }

    bool hasSettingsFile() const
    {
        return settings.folder.getNumberOfChildFiles (juce::File::findFiles) > 0;
    }

    Display* const display = XOpenDisplay (nullptr);
    Window root = None;

    const ScopedFolder settings { "vtr-shell-settings" };
    const ScopedFolder instances { "vtr-shell-instances" };
    const ScopedEnvironment settingsSeam { "VTR_SETTINGS_DIR", settings.folder };
    const ScopedEnvironment instanceSeam { "VTR_INSTANCE_DIR", instances.folder };
};
} // namespace

//==============================================================================
TEST_F (AppShell, OpensOneCentredFixedSizeWindow)
{
    AppRun app;
    const auto window = waitForTheWindow();
    ASSERT_NE (window, None);

    const auto bounds = boundsOf (window);
    const auto screen = juce::Rectangle<int> (DisplayWidth (display, 0), DisplayHeight (display, 0));
    EXPECT_EQ (bounds.getWidth(), 1000);
    EXPECT_EQ (bounds.getHeight(), 576);
    EXPECT_NEAR (bounds.getCentreX(), screen.getCentreX(), 1);
    EXPECT_NEAR (bounds.getCentreY(), screen.getCentreY(), 1);

    const auto functions = motifFunctionsOf (window);
    EXPECT_EQ (functions & (8 | 32), 8 | 32) << "minimise and close";
    EXPECT_EQ (functions & (2 | 16), 0) << "neither resize nor maximise";

    // The faders of the "mackie" map send pitch bend, whose names are filled
    // in at start: an empty table would leave their labels blank.
    for (int strip = 0; strip < 8; ++strip)
    {
        SCOPED_TRACE (strip + 1);
        EXPECT_TRUE (showsTextIn (window, { 29 + 94 * strip, 64 + 229, 49, 15 }));
    }

    // Once a control has the focus, X switches to the extender, and the
    // window follows its narrower content.
    click (window, { 93, 64 + 363 });
    juce::Thread::sleep (200);
    sendKey (window, XK_x);

    for (int i = 0; i < 100 && boundsOf (window).getWidth() != 786; ++i)
        juce::Thread::sleep (20);

    EXPECT_EQ (boundsOf (window).getWidth(), 786);
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

        AppRun app;
        const auto window = waitForTheWindow();
        ASSERT_NE (window, None);
        EXPECT_FALSE (hasSettingsFile());

        way.act (window);

        ASSERT_TRUE (app.endsWithin (10000));
        EXPECT_EQ (app.process.getExitCode(), 0u);
        EXPECT_TRUE (hasSettingsFile());
        EXPECT_TRUE (windowsTitled (windowTitle).empty());
    }
}

TEST_F (AppShell, ASecondStartBringsTheFirstToTheFrontAndEnds)
{
    AppRun first;
    const auto window = waitForTheWindow();
    ASSERT_NE (window, None);
    takeEvents();

    {
        AppRun second;
        ASSERT_TRUE (second.endsWithin (10000));
        EXPECT_EQ (second.process.getExitCode(), 0u);
    }

    auto windowsCreated = 0;
    auto broughtToFront = false;
    const auto activeWindow = XInternAtom (display, "_NET_ACTIVE_WINDOW", False);

    for (int i = 0; i < 100 && ! broughtToFront; ++i)
    {
        for (const auto& event : takeEvents())
        {
            windowsCreated += event.type == CreateNotify ? 1 : 0;
            broughtToFront = broughtToFront || (event.type == ClientMessage && event.xclient.window == window
                                                 && event.xclient.message_type == activeWindow);
        }

        juce::Thread::sleep (20);
    }

    EXPECT_TRUE (broughtToFront);
    EXPECT_EQ (windowsCreated, 0);
    EXPECT_FALSE (hasSettingsFile()) << "only the first instance writes it, when it ends";
    EXPECT_TRUE (first.process.isRunning());

    sendKey (window, XK_Escape);
    ASSERT_TRUE (first.endsWithin (10000));
    EXPECT_TRUE (hasSettingsFile());
}

TEST_F (AppShell, StartsAfterAnInstanceThatWasKilled)
{
    {
        AppRun killed;
        ASSERT_NE (waitForTheWindow(), None);
        killed.process.kill();
        killed.endsWithin (5000);
    }

    AppRun next;
    const auto window = waitForTheWindow();
    ASSERT_NE (window, None);
    sendKey (window, XK_Escape);
    EXPECT_TRUE (next.endsWithin (10000));
}
