namespace zuvo
{

namespace ChoiceDialog
{
    void layOut (juce::Component& list, juce::Button& okButton, juce::Button& cancelButton, int w, int h)
    {
        list.setBounds (8, h / 2 - 24, w - 16, 24);

        const auto cancelWidth = juce::jmin (w, 100);
        const auto buttonHeight = juce::jmin (h, 30);
        cancelButton.setBounds (w - 10 - cancelWidth, h - 10 - buttonHeight, cancelWidth, buttonHeight);

        const auto okWidth = juce::jmin (w - cancelWidth, 100);
        okButton.setBounds (w - cancelWidth - 10 - okWidth, h - 10 - buttonHeight, okWidth, buttonHeight);
    }

    void close (juce::Component& content)
    {
        if (auto* dialog = content.findParentComponentOfClass<juce::DialogWindow>())
            dialog->closeButtonPressed();
    }

    void confirm (juce::Component& content)
    {
        if (auto* dialog = content.findParentComponentOfClass<juce::DialogWindow>())
            dialog->exitModalState (1);
    }
}

namespace
{
    constexpr int numPreselectionWaits = 3;
}

//==============================================================================
DeviceSelectComponent::DeviceSelectComponent (int productId, juce::String target)
    : targetName (std::move (target)), pid (productId)
{
    setName ("DeviceSelectComponent");

    okButton.setButtonText ("OK");
    cancelButton.setButtonText ("Cancel");
    addAndMakeVisible (okButton);
    addAndMakeVisible (cancelButton);
    addAndMakeVisible (deviceBox);

    // Each try that finds nothing is followed by 150 ms of message loop, in
    // which the port may still appear; a last look follows the last wait.
    auto position = listPortsAndFindPreselection();

    for (int waits = 0; position < 0 && waits < numPreselectionWaits; ++waits)
    {
        for (int i = 0; i < 3; ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (50);

        position = listPortsAndFindPreselection();
    }

    const auto found = position >= 0;

    if (! found)
    {
        juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, {}, "Warning: Cannot find target unit!");
        position = 0;
    }

    deviceBox.setSelectedItemIndex (position, juce::dontSendNotification);
    chosenDevice = deviceBox.getText();

    okButton.addListener (this);
    cancelButton.addListener (this);
    deviceBox.addListener (this);
    setSize (300, 200);

    if (bAuto && found)
        okButton.triggerClick();
}

DeviceSelectComponent::~DeviceSelectComponent()
{
    okButton.removeListener (this);
    cancelButton.removeListener (this);
    deviceBox.removeListener (this);
}

int DeviceSelectComponent::listPortsAndFindPreselection()
{
    // Listed again at every try: the port looked for may have appeared
    // meanwhile, and the position found must be that of the list shown.
    const auto items = DeviceHelpers::getDeviceNames (true);
    deviceBox.clear (juce::dontSendNotification);
    deviceBox.addItemList (items, 1);

    if (targetName.isNotEmpty())
    {
        if (FirmwareUpgradeComponent::numberForDevice (targetName, true) != 1)
            return -1;

        return FirmwareUpgradeComponent::indexForFirstDevice (targetName, true);
    }

    const auto d = FirmwareUpgradeComponent::getNumsOf_Fwug_and_Prod (pid, 16);

    if (d > 15 || d % 16 == 0)
        return -1;

    return items.indexOf (FirmwareUpgradeComponent::firstTargetNameByPid (pid, items));
}

//==============================================================================
void DeviceSelectComponent::paint (juce::Graphics&)
{
}

void DeviceSelectComponent::resized()
{
    ChoiceDialog::layOut (deviceBox, okButton, cancelButton, getWidth(), getHeight());
}

void DeviceSelectComponent::buttonClicked (juce::Button* button)
{
    if (button == &cancelButton)
        ChoiceDialog::close (*this);
    else if (button == &okButton)
        OnOkBtn();
}

void DeviceSelectComponent::comboBoxChanged (juce::ComboBox*)
{
    chosenDevice = deviceBox.getText();
}

void DeviceSelectComponent::OnOkBtn()
{
    const auto name = DeviceHelpers::convFwugMan (deviceBox.getText());
    const auto forOrdinaryPort = targetName.isEmpty();

    if (DeviceHelpers::validDeviceName (name, forOrdinaryPort, bTest_fwug || ! forOrdinaryPort))
        ChoiceDialog::confirm (*this);
}

} // namespace zuvo
