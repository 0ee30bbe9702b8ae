namespace zuvo
{

/** What the upgrader's two choice dialogs (port and firmware) share. */
namespace ChoiceDialog
{
    /** The list across the middle, OK and Cancel at the bottom right. */
    void layOut (juce::Component& list, juce::Button& okButton, juce::Button& cancelButton, int width, int height);

    /** Runs the close-button action of the dialog window around the content (result 0). */
    void close (juce::Component& content);

    /** Ends the modal state of the dialog window around the content with 1. */
    void confirm (juce::Component& content);
}

//==============================================================================

/**
    The content of the port dialog "Choose Your Zuvo Device".

    It lists the display list of the MIDI outputs (upgrade-mode ports as "Zuvo
    firmware upgrade manager") and preselects a port: with an empty target,
    the unit's ordinary port of product `pid` (step 1 of the wizard); with the
    target "Zuvo firmware upgrade", the single upgrade-mode port (step 3).
    When it finds nothing after waiting up to 450 ms (looking again every
    150 ms), it warns "Warning: Cannot find target unit!" and selects the
    first item. In auto mode it confirms a port
    it found by itself, once the dialog runs.

    OK ends the hosting dialog's modal state with 1 when the port filter
    accepts the choice (and does nothing otherwise); Cancel runs the dialog's
    close action. Afterwards the caller reads chosenDevice, a display name.
    The caller owns this component; the dialog window must not.
*/
class DeviceSelectComponent : public juce::Component,
                              public juce::Button::Listener,
                              public juce::ComboBox::Listener
{
public:
    DeviceSelectComponent (int pid, juce::String targetName);
    ~DeviceSelectComponent() override;

    //==============================================================================
    /** @internal */
    void paint (juce::Graphics&) override;
    /** @internal */
    void resized() override;
    /** @internal */
    void buttonClicked (juce::Button*) override;
    /** @internal */
    void comboBoxChanged (juce::ComboBox*) override;

    /** Ends the dialog with 1 when the chosen port passes the filter of this dialog's form. */
    void OnOkBtn();

    //==============================================================================
    const juce::String targetName;
    const int pid;
    juce::String chosenDevice;

    juce::ComboBox deviceBox;
    juce::TextButton cancelButton;
    juce::TextButton okButton;

private:
    int listPortsAndFindPreselection();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceSelectComponent)
};

} // namespace zuvo
