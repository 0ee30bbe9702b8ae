#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include "QueuedInputWatch.h"

#if JUCE_LINUX || JUCE_BSD
namespace
{
Display* editorDisplay()    { return juce::XWindowSystem::getInstance()->getDisplay(); }
} // namespace

QueuedInputWatch::QueuedInputWatch()
{
    auto* display = editorDisplay();

    if (display == nullptr)
        return;

    auto* x11 = juce::X11Symbols::getInstance();
    juce::XWindowSystemUtilities::ScopedXLock lock;
    const auto root = x11->xRootWindow (display, x11->xDefaultScreen (display));
    wakeWindow = x11->xCreateWindow (display, root, 0, 0, 1, 1, 0, CopyFromParent, InputOnly, nullptr, 0, nullptr);
    wakeType = x11->xInternAtom (display, "VTR_READ_QUEUED_EVENTS", False);

    // Often enough that a waiting click is taken before a user could notice.
    startTimer (10);
}

QueuedInputWatch::~QueuedInputWatch()
{
    stopTimer();

    if (wakeWindow != 0)
    {
        juce::XWindowSystemUtilities::ScopedXLock lock;
        juce::X11Symbols::getInstance()->xDestroyWindow (editorDisplay(), wakeWindow);
    }
}

void QueuedInputWatch::timerCallback()
{
    auto* display = editorDisplay();
    auto* x11 = juce::X11Symbols::getInstance();
    juce::XWindowSystemUtilities::ScopedXLock lock;

    if (display == nullptr || x11->xEventsQueued (display, QueuedAlready) == 0)
        return;

    // An event for a window that is none of the framework's: it reads it with
    // those in the queue and ignores it. Sent with no event mask, it goes to
    // the client that made the window, the editor itself.
    XEvent wake {};
    wake.xclient.type = ClientMessage;
    wake.xclient.window = wakeWindow;
    wake.xclient.message_type = wakeType;
    wake.xclient.format = 32;
    x11->xSendEvent (display, wakeWindow, False, NoEventMask, &wake);
    x11->xFlush (display);
}
#else
QueuedInputWatch::QueuedInputWatch()           {}
QueuedInputWatch::~QueuedInputWatch()          {}
void QueuedInputWatch::timerCallback()         {}
#endif
