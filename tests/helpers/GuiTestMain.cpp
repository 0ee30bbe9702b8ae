#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>
#include <X11/Xlib.h>
#include <csignal>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // Several test processes share one X server: a request about a window
    // that another process has just destroyed fails with BadWindow, which
    // Xlib's default handler turns into an exit. Such errors are harmless.
    XSetErrorHandler ([] (Display*, XErrorEvent*) { return 0; });

    // The loopback servers of the tests write to sockets that clients may
    // already have closed.
    std::signal (SIGPIPE, SIG_IGN);

    // The framework uses these window-manager atoms without creating them; a
    // bare X server (Xvfb without a window manager) does not have them yet.
    // The display stays open so that the atoms live for the whole run.
    if (auto* display = XOpenDisplay (nullptr))
    {
        XInternAtom (display, "WM_PROTOCOLS", False);
        XInternAtom (display, "WM_STATE", False);
    }

    juce::ScopedJuceInitialiser_GUI framework;
    return RUN_ALL_TESTS();
}
