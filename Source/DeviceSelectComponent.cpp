#include "DeviceSelectComponent.h"

#include <midi_ports/midi_ports.h>

bool DeviceHelpers::validDeviceName (const juce::String& name)
{
    if (name.containsIgnoreCase ("Vantor"))
        return true;

    return name.containsIgnoreCase ("zuvo") && name.containsIgnoreCase ("midi");
}

//==============================================================================
DeviceSelectComponent::DeviceSelectComponent()
{
    setName ("DeviceSelectComponent");

    connectButton.setButtonText ("Connect");
    addAndMakeVisible (connectButton);
    cancelButton.setButtonText ("Cancel");
    addAndMakeVisible (cancelButton);
    addAndMakeVisible (deviceBox);

    auto names = midiports::getOutputDevices();
    names.removeDuplicates (false);
    names.removeEmptyStrings (true);

    juce::StringArray valid;
    for (const auto& name : names)
        if (DeviceHelpers::validDeviceName (name))
            valid.add (name);

    deviceBox.addItemList (valid, 1);
    deviceBox.setSelectedItemIndex (0, juce::dontSendNotification);
    chosenDevice = deviceBox.getText();

    connectButton.addListener (this);
    cancelButton.addListener (this);
    deviceBox.addListener (this);

    setSize (300, 200);
}

DeviceSelectComponent::~DeviceSelectComponent() = default;

void DeviceSelectComponent::paint (juce::Graphics&) {}

void DeviceSelectComponent::resized()
{
    const auto w = getWidth();
    const auto h = getHeight();

    deviceBox.setBounds (8, h / 2 - 24, w - 16, 24);

    const auto buttonHeight = juce::jmin (h, 30);
    const auto y = h - 10 - buttonHeight;
    const auto cancelWidth = juce::jmin (w, 100);
    const auto connectWidth = juce::jmin (w - cancelWidth, 100);

    cancelButton.setBounds (w - 10 - cancelWidth, y, cancelWidth, buttonHeight);
    connectButton.setBounds ((w - cancelWidth) - 10 - connectWidth, y, connectWidth, buttonHeight);
}

void DeviceSelectComponent::buttonClicked (juce::Button* button)
{
    auto* dialog = findParentComponentOfClass<juce::DialogWindow>();

    if (dialog == nullptr)
        return;

    if (button == &cancelButton)
        dialog->closeButtonPressed();
    else if (button == &connectButton && DeviceHelpers::validDeviceName (deviceBox.getText()))
        dialog->exitModalState (1);
}

void DeviceSelectComponent::comboBoxChanged (juce::ComboBox*)
{
    chosenDevice = deviceBox.getText();
}
