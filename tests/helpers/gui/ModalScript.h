#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <deque>
#include <functional>
#include <vector>

namespace gui_test
{

/** One alert box as the framework created it. */
struct AlertRecord
{
    juce::String title, message;
    juce::StringArray buttons;
    juce::MessageBoxIconType icon;
};

/** Becomes the default look-and-feel for its lifetime and records every
    alert box that the framework creates through it (synchronous and
    asynchronous message boxes without an associated component).
*/
class AlertRecorder : public juce::LookAndFeel_V4
{
public:
    AlertRecorder();
    ~AlertRecorder() override;

    juce::AlertWindow* createAlertWindow (const juce::String& title, const juce::String& message,
                                          const juce::String& button1, const juce::String& button2,
                                          const juce::String& button3, juce::MessageBoxIconType iconType,
                                          int numButtons, juce::Component* associatedComponent) override;

    std::vector<AlertRecord> alerts;
};

/** Plays the user's part in modal loops: an ordered list of steps, each a
    test for the top-most modal component and the action to take on it.

    While the script lives, a timer looks at the top-most modal component
    every few milliseconds (timers run inside modal loops too); when the
    first pending step's test holds, its action runs once and the step is
    done. So a test schedules the answers, then makes the call that opens
    the dialogs.
*/
class ModalScript : private juce::Timer
{
public:
    using Test = std::function<bool (juce::Component&)>;
    using Action = std::function<void (juce::Component&)>;

    ModalScript();
    ~ModalScript() override;

    ModalScript& then (Test test, Action action);

    /** The next alert box (with this title, when one is given): click the button with this text. */
    ModalScript& pressAlertButton (const juce::String& buttonText, const juce::String& title = {});

    /** The next dialog window with this title: run the action on its content component. */
    ModalScript& onDialog (const juce::String& title, std::function<void (juce::DialogWindow&, juce::Component& content)> action);

    /** The next dialog window with this title: end its modal state with this result. */
    ModalScript& closeDialog (const juce::String& title, int result);

    bool isDone() const noexcept        { return steps.empty(); }
    size_t stepsLeft() const noexcept   { return steps.size(); }

private:
    void timerCallback() override;

    std::deque<std::pair<Test, Action>> steps;
};

/** Runs the message loop until the condition holds or the time is up; returns the condition. */
bool runUntil (const std::function<bool()>& condition, int timeoutMs = 5000);

/** Runs the message loop until every message posted before this call has been
    handled (a button's triggerClick() posts one); returns whether they were. */
bool runPostedMessages();

/** The top-most modal component, or nullptr. */
juce::Component* topModal();

} // namespace gui_test
