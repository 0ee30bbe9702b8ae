#pragma once

#include <juce_events/juce_events.h>

/**
    Makes sure that the framework handles every X event that reaches the editor.

    The framework reads X events when the connection to the X server has data
    to read. Xlib also reads them whenever it waits for the answer to a request
    (a repaint, a focus query, an open list asking where the pointer is) and
    keeps them in a queue of its own; when that happens outside the
    framework's reading, the connection has nothing left to read, and the
    events wait in the queue until another one arrives. A click made with a
    still mouse right after a list closed waited for the next movement.

    While it exists, this watch looks at that queue every few milliseconds on
    the message thread; when events wait there, it sends the editor an event of
    its own through the server, on which the framework reads the whole queue in
    order. Does nothing where the framework does not use X.
*/
class QueuedInputWatch  : private juce::Timer
{
public:
    QueuedInputWatch();
    ~QueuedInputWatch() override;

private:
    void timerCallback() override;

    unsigned long wakeWindow = 0;   // an unmapped window of the editor's own that receives the wake-up events
    unsigned long wakeType = 0;

    JUCE_DECLARE_NON_COPYABLE (QueuedInputWatch)
};
