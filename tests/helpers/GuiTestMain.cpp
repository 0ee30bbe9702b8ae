#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>
#include <X11/Xlib.h>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

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
