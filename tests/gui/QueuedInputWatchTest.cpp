#include <gtest/gtest.h>

#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>
#include <X11/extensions/XTest.h>

#include "QueuedInputWatch.h"
#include "gui/ModalScript.h"

// A click that Xlib reads while it waits for the answer to some request, made
// outside the framework's reading of X events, sits in Xlib's queue with
// nothing left to read on the connection; the framework alone would take it
// only with the next event that arrives.

namespace
{
/** A desktop window that counts the presses it gets. */
struct ClickTarget  : juce::Component
{
    void paint (juce::Graphics& g) override                 { g.fillAll (juce::Colours::white); painted = true; }
    void mouseDown (const juce::MouseEvent&) override       { ++presses; }

    bool painted = false;
    int presses = 0;
};
} // namespace

TEST (QueuedInputWatch, AClickThatXlibQueuedOutsideTheFrameworksReadingIsTaken)
{
    const QueuedInputWatch watch;
    ClickTarget target;
    target.setBounds (100, 100, 200, 200);
    target.addToDesktop (0);
    target.setVisible (true);
    ASSERT_TRUE (gui_test::runUntil ([&] { return target.painted; })) << "the window is never painted";

    // The click comes through another connection, as a user's does.
    auto* input = XOpenDisplay (nullptr);
    ASSERT_NE (input, nullptr);
    XTestFakeMotionEvent (input, -1, 200, 200, CurrentTime);
    XTestFakeButtonEvent (input, Button1, True, CurrentTime);
    XTestFakeButtonEvent (input, Button1, False, CurrentTime);
    XSync (input, False);
    XCloseDisplay (input);

    // A request that waits for its answer, outside the framework's reading:
    // Xlib reads the click into its queue on the way.
    {
        juce::XWindowSystemUtilities::ScopedXLock lock;
        juce::X11Symbols::getInstance()->xSync (juce::XWindowSystem::getInstance()->getDisplay(), False);
    }

    EXPECT_TRUE (gui_test::runUntil ([&] { return target.presses == 1; })) << "the click waits in the queue";
}
