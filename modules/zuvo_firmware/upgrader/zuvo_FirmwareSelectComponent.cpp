namespace zuvo
{

FirmwareSelectComponent::FirmwareSelectComponent (const juce::ValueTree& firmwares)
    : firmwareList (firmwares.createCopy())
{
    okButton.setButtonText ("OK");
    cancelButton.setButtonText ("Cancel");
    addAndMakeVisible (okButton);
    addAndMakeVisible (cancelButton);
    addAndMakeVisible (firmwareBox);

    for (int i = 0; i < firmwareList.getNumChildren(); ++i)
    {
        const auto entry = firmwareList.getChild (i);
        firmwareBox.addItem (entry["name"].toString() + " V" + entry["version"].toString(), i + 1);
    }

    firmwareBox.setSelectedItemIndex (0, juce::dontSendNotification);

    okButton.addListener (this);
    cancelButton.addListener (this);
    firmwareBox.addListener (this);
    setSize (300, 200);

    if (bAuto)
        okButton.triggerClick();
}

FirmwareSelectComponent::~FirmwareSelectComponent()
{
    okButton.removeListener (this);
    cancelButton.removeListener (this);
    firmwareBox.removeListener (this);
}

void FirmwareSelectComponent::paint (juce::Graphics&)
{
}

void FirmwareSelectComponent::resized()
{
    ChoiceDialog::layOut (firmwareBox, okButton, cancelButton, getWidth(), getHeight());
}

void FirmwareSelectComponent::buttonClicked (juce::Button* button)
{
    if (button == &cancelButton)
        ChoiceDialog::close (*this);
    else if (button == &okButton && ! firmwareBox.getText().containsIgnoreCase ("Microsoft"))
        ChoiceDialog::confirm (*this);
}

void FirmwareSelectComponent::comboBoxChanged (juce::ComboBox*)
{
}

juce::URL FirmwareSelectComponent::getDownloadUrl()
{
    const auto index = firmwareBox.getSelectedItemIndex();

    if (! juce::isPositiveAndBelow (index, firmwareList.getNumChildren()))
        return {};

    return juce::URL (Network::getFirmwareServerBase() + firmwareList.getChild (index)["fw"].toString());
}

} // namespace zuvo
