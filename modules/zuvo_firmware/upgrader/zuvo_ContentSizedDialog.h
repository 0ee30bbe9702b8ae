namespace zuvo
{

/**
    A dialog built from launch options as the framework builds one, but put on
    the desktop only once it has its title bar. The framework's own dialog
    switches to the native title bar after its window exists, and keeps the
    size it had for the framework's title bar and border: the window shows a
    margin beside and below the content. This one's window is made with the
    title bar it keeps and sized to its content before it is shown; unless
    the options make it resizable, it keeps that size against resize and
    maximise requests from outside. A dialog centred around a component
    opens centred on it under a window manager too, and is marked as a
    dialog of that component's window.
*/
class ContentSizedDialog  : public juce::DialogWindow
{
public:
    /** Takes the options' content. */
    explicit ContentSizedDialog (juce::DialogWindow::LaunchOptions&);

    void closeButtonPressed() override;
    void resized() override;
    void moved() override;
    void parentHierarchyChanged() override;
    void paintOverChildren (juce::Graphics&) override;

    /** Shows the options' dialog modally and returns its modal result, as
        the options' own runModal() does. */
    static int runModal (juce::DialogWindow::LaunchOptions&);

private:
    WindowSizeHold sizeHold { *this };
    juce::Component::SafePointer<juce::Component> owner;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentSizedDialog)
};

} // namespace zuvo
