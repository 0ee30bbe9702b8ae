#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace DeviceHelpers
{
    /** True for the names of MIDI ports that look like the maker's units: any
        name containing "Vantor", or one containing both "zuvo" and "midi",
        letter case ignored. */
    bool validDeviceName (const juce::String& name);
}

//==============================================================================
/**
    The MIDI output picker: the content of the "Select your device" dialog.

    It lists, once, the MIDI outputs whose names pass
    DeviceHelpers::validDeviceName. "Connect" ends the hosting dialog's modal
    loop with 1 when a valid name is shown, "Cancel" closes the dialog (result
    0). Afterwards the caller reads chosenDevice; the picker opens no port.

    The hosting juce::DialogWindow must not own it.
*/
class DeviceSelectComponent  : public juce::Component,
                               public juce::Button::Listener,
                               public juce::ComboBox::Listener
{
public:
    DeviceSelectComponent();
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

    //==============================================================================
    /** The output name shown in the list: empty when no output is listed. */
    juce::String chosenDevice;

private:
    juce::ComboBox deviceBox;
    juce::TextButton cancelButton;
    juce::TextButton connectButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DeviceSelectComponent)
};
