#include "ModalScript.h"

namespace gui_test
{

AlertRecorder::AlertRecorder()
{
    juce::LookAndFeel::setDefaultLookAndFeel (this);
}

AlertRecorder::~AlertRecorder()
{
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

juce::AlertWindow* AlertRecorder::createAlertWindow (const juce::String& title, const juce::String& message,
                                                     const juce::String& button1, const juce::String& button2,
                                                     const juce::String& button3, juce::MessageBoxIconType iconType,
                                                     int numButtons, juce::Component* associatedComponent)
{
    juce::StringArray buttons;

    for (const auto& b : { button1, button2, button3 })
        if (buttons.size() < numButtons)
            buttons.add (b);

    alerts.push_back ({ title, message, buttons, iconType });
    return LookAndFeel_V4::createAlertWindow (title, message, button1, button2, button3,
                                              iconType, numButtons, associatedComponent);
}

//==============================================================================
ModalScript::ModalScript()
{
    startTimer (5);
}

ModalScript::~ModalScript()
{
    stopTimer();
}

ModalScript& ModalScript::then (Test test, Action action)
{
    steps.emplace_back (std::move (test), std::move (action));
    return *this;
}

ModalScript& ModalScript::pressAlertButton (const juce::String& buttonText, const juce::String& title)
{
    return then ([title] (juce::Component& c)
                 {
                     return dynamic_cast<juce::AlertWindow*> (&c) != nullptr
                            && (title.isEmpty() || c.getName() == title);
                 },
                 [buttonText] (juce::Component& c)
                 {
                     static_cast<juce::AlertWindow&> (c).triggerButtonClick (buttonText);
                 });
}

ModalScript& ModalScript::onDialog (const juce::String& title,
                                    std::function<void (juce::DialogWindow&, juce::Component&)> action)
{
    return then ([title] (juce::Component& c)
                 {
                     auto* dialog = dynamic_cast<juce::DialogWindow*> (&c);
                     return dialog != nullptr && dialog->getName() == title
                            && dialog->getContentComponent() != nullptr;
                 },
                 [action] (juce::Component& c)
                 {
                     auto& dialog = static_cast<juce::DialogWindow&> (c);
                     action (dialog, *dialog.getContentComponent());
                 });
}

ModalScript& ModalScript::closeDialog (const juce::String& title, int result)
{
    return onDialog (title, [result] (juce::DialogWindow& dialog, juce::Component&)
                     {
                         dialog.exitModalState (result);
                     });
}

void ModalScript::timerCallback()
{
    if (steps.empty())
        return;

    if (auto* modal = topModal())
    {
        if (steps.front().first (*modal))
        {
            // Take the step off first: the action may run a nested modal loop.
            auto action = std::move (steps.front().second);
            steps.pop_front();
            action (*modal);
        }
    }
}

//==============================================================================
bool runUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return condition();

        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }

    return true;
}

bool runPostedMessages()
{
    // Messages are handled in the order they were posted: once this one is,
    // every earlier one has been.
    auto reached = std::make_shared<bool> (false);
    juce::MessageManager::callAsync ([reached] { *reached = true; });
    return runUntil ([reached] { return *reached; }, 60000);
}

juce::Component* topModal()
{
    return juce::Component::getCurrentlyModalComponent (0);
}

} // namespace gui_test
