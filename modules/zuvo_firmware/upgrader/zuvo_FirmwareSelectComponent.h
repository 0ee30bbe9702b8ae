namespace zuvo
{

/**
    The content of the dialog "Firmware Version": one item per catalogue entry
    ("name V version"), the first one selected. OK ends the hosting dialog's
    modal state with 1, Cancel runs its close action; in auto mode OK is
    clicked by itself once the dialog runs. Afterwards getDownloadUrl() gives
    the chosen image's address on the firmware server.

    It keeps a deep copy of the entries it was given. The caller owns this
    component; the dialog window must not.
*/
class FirmwareSelectComponent : public juce::Component,
                                public juce::Button::Listener,
                                public juce::ComboBox::Listener
{
public:
    explicit FirmwareSelectComponent (const juce::ValueTree& firmwares);
    ~FirmwareSelectComponent() override;

    //==============================================================================
    /** @internal */
    void paint (juce::Graphics&) override;
    /** @internal */
    void resized() override;
    /** @internal */
    void buttonClicked (juce::Button*) override;
    /** @internal */
    void comboBoxChanged (juce::ComboBox*) override;

    /** The firmware server's base address followed by the chosen entry's "fw";
        an empty URL when nothing is selected. */
    juce::URL getDownloadUrl();

    //==============================================================================
    juce::ComboBox firmwareBox;
    juce::TextButton cancelButton;
    juce::TextButton okButton;
    const juce::ValueTree firmwareList;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareSelectComponent)
};

} // namespace zuvo
