bool bAuto = false;
bool bSerial = false;

namespace zuvo
{

bool bForAnyZuvo = false;
bool bTest_fwug = false;
bool bEsc = false;
bool protectUiQ = false;
int _num_UpgradeSuccess = 0;

namespace
{
    constexpr int numSteps = 5;

    const char* const makersWebAddress = "www.zuvo-audio.example/support";
    const char* const buildCode = "a8";

    const char* const deviceNameHelp =
        "After \"Audio MIDI Setup\" opened.\n\n1. Check \"Show MIDI Studio\" \non \"Window\" pull-down menu, "
        "\nat the top task-bar.\n\n2. Drag the sroll-bar to find out your device\nand click to select it.\n"
        "Then turn off your device.\n\n3. Click \"Remove Device\" (or press Backspace).\n\n"
        "Then turn on your device again. \nThe displaying name of your device \nwill be updated!";

    struct StepTexts
    {
        const char* button;
        const char* instructions;
    };

    juce::String manualLoadInstructions()
    {
        return juce::String ("Download the latest firmware on \"") + makersWebAddress
               + "\", then click the \"Load File\" button to browse the firmware file.";
    }

    StepTexts stepTextsFor (int index, bool online)
    {
        switch (index)
        {
            case 0:  return { "Connect", "Please connect your Zuvo device and click \"Connect\" button to create the connection." };
            case 1:  return { "Enter", "Click \"Enter\" button to enter into \"Firmware upgrade mode\"." };
            case 2:  return { "Activate", "Click \"Activate\" button to activate the \"Firmware upgrade mode\"." };
            case 3:  return online ? StepTexts { "Select Version", "Click \"Select Version\", the process will automatically \n"
                                                                   "search for the most up to date firmware for your device \n"
                                                                   "at our server." }
                                   : StepTexts { "Load File", nullptr };
            default: return { "Upgrade", "Click \"Upgrade\" to start the file upload process." };
        }
    }

    // The hidden keys. They carry Ctrl, Alt and Shift together, which no
    // ordinary use of the window does:
    //   Ctrl+Alt+Shift+A  auto mode
    //   Ctrl+Alt+Shift+M  manual mode (firmware from a local file)
    //   Ctrl+Alt+Shift+Y  any-product mode
    //   Ctrl+Alt+Shift+S  series mode
    //   Ctrl+Alt+Shift+T  test mode
    const juce::ModifierKeys hiddenKeyModifiers { juce::ModifierKeys::ctrlModifier
                                                  | juce::ModifierKeys::altModifier
                                                  | juce::ModifierKeys::shiftModifier };

    bool isHiddenKey (const juce::KeyPress& key, char letter)
    {
        return key == juce::KeyPress (letter, hiddenKeyModifiers, 0);
    }
}

//==============================================================================
FirmwareUpgradeComponent::FirmwareUpgradeComponent (int pid, bool isOnline)
    : copyrightYears ("2012-2019"),
      online (isOnline),
      onlineDefault (isOnline),
      currentPid (pid),
      wizardPid (pid),
      launchPid (pid)
{
    tooltipWindow.setMillisecondsBeforeTipAppears (0);

    g_forTargetDeviceQ = Product::isTargetProduct (wizardPid) ? 1 : 0;
    bTest_fwug = false;
    bEsc = false;
    _num_UpgradeSuccess = 0;
    bForAnyZuvo = true;

    if (online)
        firmwares = juce::ValueTree ("firmwares");

    pidForCatalogue = currentPid;

    chooseFile = [] (const FileRequest& request)
    {
        juce::FileChooser chooser (request.title, request.start, request.patterns, true, false);
        return chooser.browseForFileToOpen() ? chooser.getResult() : juce::File();
    };

    runShellCommand = [] (const juce::String& command)
    {
        [[maybe_unused]] const auto result = std::system (command.toRawUTF8());
    };

    progressCaption.setText ("Upgrade Progress", juce::dontSendNotification);
    progressCaption.setJustificationType (juce::Justification::centred);
    addAndMakeVisible (progressCaption);

    progressBar.setPercentageDisplay (true);
    progressBar.setColour (juce::ProgressBar::foregroundColourId, juce::Colours::skyblue);
    addAndMakeVisible (progressBar);

    for (int i = 0; i < numSteps; ++i)
    {
        const auto caption = "Step " + juce::String (i + 1);
        const auto texts = stepTextsFor (i, online);

        stepCaptions[i].setText (caption, juce::dontSendNotification);
        stepCaptions[i].setJustificationType (juce::Justification::centred);
        addAndMakeVisible (stepCaptions[i]);

        stepHeadings[i].setText (caption + ":", juce::dontSendNotification);
        stepHeadings[i].setJustificationType (juce::Justification::topLeft);
        addAndMakeVisible (stepHeadings[i]);

        stepTexts[i].setText (texts.instructions != nullptr ? juce::String (texts.instructions) : manualLoadInstructions(),
                              juce::dontSendNotification);
        stepTexts[i].setJustificationType (juce::Justification::topLeft);
        stepTexts[i].setMinimumHorizontalScale (1.0f);
        addAndMakeVisible (stepTexts[i]);

        stepButtons[i].setButtonText (texts.button);
        stepButtons[i].addListener (this);
        addAndMakeVisible (stepButtons[i]);
    }

    noteHeading.setText ("Note:", juce::dontSendNotification);
    noteHeading.setJustificationType (juce::Justification::topLeft);
    addAndMakeVisible (noteHeading);

    noteText.setText ("If your connected Zuvo product model name does not appear on the pull-down menu, "
                      "select \"USB Audio Device\" as the MIDI In/Out device",
                      juce::dontSendNotification);
    noteText.setJustificationType (juce::Justification::topLeft);
    addAndMakeVisible (noteText);

    updateNameButton.setButtonText ("Update Device Name");
    updateNameButton.addListener (this);
    addAndMakeVisible (updateNameButton);

    for (auto* child : getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            label->setColour (juce::Label::textColourId, juce::Colours::black);

    // Escape, F1 and the hidden keys reach the wizard while no child has focus.
    setWantsKeyboardFocus (true);

    updateButtonEnablement();
    setSize (514, 491);
}

FirmwareUpgradeComponent::~FirmwareUpgradeComponent()
{
    resetUnitsInUpgradeMode();
    midiHandler.reset();
}

//==============================================================================
void FirmwareUpgradeComponent::paint (juce::Graphics&)
{
}

void FirmwareUpgradeComponent::resized()
{
    const auto w = getWidth();

    progressCaption.setBounds (0, 10, w, 20);
    progressBar.setBounds (40, 36, w - 80, 24);

    const auto x0 = w / 2 - 240;

    for (int i = 0; i < numSteps; ++i)
    {
        stepCaptions[i].setBounds (x0 + 96 * i, progressBar.getBottom() + 6, 90, 20);
        stepButtons[i].setBounds (x0 + 96 * i, stepCaptions[i].getHeight() + progressBar.getBottom() + 12, 90, 20);
    }

    juce::Label* rows[][2] = { { &stepHeadings[0], &stepTexts[0] },
                               { &noteHeading, &noteText },
                               { &stepHeadings[1], &stepTexts[1] },
                               { &stepHeadings[2], &stepTexts[2] },
                               { &stepHeadings[3], &stepTexts[3] },
                               { &stepHeadings[4], &stepTexts[4] } };

    auto y = stepButtons[0].getBottom() + 18;

    for (auto& row : rows)
    {
        row[0]->setBounds (x0, y, 70, 20);
        row[1]->setBounds (w / 2 - 164, y, (w - 20) - x0 - 70, 50);
        y = row[1]->getBottom() + 6;
    }

    updateNameButton.setBounds ((w - 120) / 2, stepTexts[4].getBottom() + 6 - 28, 120, 20);
    updateNameButton.setTooltip ("Click here to update the displaying name of your device.");
}

//==============================================================================
void FirmwareUpgradeComponent::updateButtonEnablement()
{
    const auto numEnabled = step < 0 ? 1 : (step < numSteps ? step + 2 : 0);

    for (int i = 0; i < numSteps; ++i)
        stepButtons[i].setEnabled (i < numEnabled);
}

void FirmwareUpgradeComponent::protectUI (bool on)
{
    protectUiQ = on;

    for (auto& b : stepButtons)
        b.setEnabled (! on);
}

void FirmwareUpgradeComponent::updateProgress (int newStep)
{
    if (newStep < 0)
    {
        step = -1;
        progress = 0.0;
        updateButtonEnablement();
        return;
    }

    const juce::ScopedLock sl (lock);
    progress = (newStep + 1) / 5.0;
    step = newStep;
    updateButtonEnablement();

    if (newStep == 4 && bAuto)
        ++_num_UpgradeSuccess;
}

juce::String FirmwareUpgradeComponent::titleBase() const
{
    if (bSerial)
        return juce::String::formatted ("Firmware Upgrade[%d/%d]", _num_UpgradeSuccess, 20);

    return bTest_fwug ? "Firmware Upgrade." : "Firmware Upgrade";
}

void FirmwareUpgradeComponent::SetTitle (juce::String text)
{
    setWindowTitle (text.isEmpty() ? titleBase() : titleBase() + ": " + text);
}

void FirmwareUpgradeComponent::setWindowTitle (const juce::String& title)
{
    if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
        dialog->setName (title);
    else if (auto* window = findParentComponentOfClass<juce::DocumentWindow>())
        window->setName (title);
}

//==============================================================================
bool FirmwareUpgradeComponent::keyPressed (const juce::KeyPress& key)
{
    if (key.isKeyCode (juce::KeyPress::escapeKey))
    {
        bEsc = true;
        bSerial = false;
        transferCancelled = true;
    }
    else if (key.isKeyCode (juce::KeyPress::F1Key))
    {
        // A modal box would run inside the upload's pauses and stall the stream.
        if (! uploading)
            showAboutDlg();
    }
    else if (isHiddenKey (key, 'A'))
    {
        bAuto = ! bAuto;
    }
    else if (isHiddenKey (key, 'M'))
    {
        online = ! online;
        setWindowTitle (titleBase() + (bTest_fwug ? "." : "") + (online ? "" : " [M]"));
    }
    else if (isHiddenKey (key, 'Y'))
    {
        bForAnyZuvo = ! bForAnyZuvo;
    }
    else if (isHiddenKey (key, 'S'))
    {
        bSerial = ! bSerial;
        bEsc = false;
    }
    else if (isHiddenKey (key, 'T'))
    {
        bTest_fwug = ! bTest_fwug;

        if (bTest_fwug)
            pidForCatalogue = currentPid;

        setWindowTitle (bTest_fwug ? "Firmware Upgrade." : "Firmware Upgrade");
    }

    return juce::Component::keyPressed (key);
}

void FirmwareUpgradeComponent::showAboutDlg()
{
    const auto title = juce::String ("\n\n") + appName + "\n\nV" + appVersion + "  Build "
                       + juce::String (buildCode).toUpperCase();

    juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, title,
                                       "Copyright (c) " + copyrightYears + " Zuvo Audio. All rights reserved.");
}

//==============================================================================
void FirmwareUpgradeComponent::userTriedToCloseWindow()
{
    // A step 4 may always be left: its transfers end and nothing is loaded.
    if (bAuto || (protectUiQ && runningStep != Next::step4))
        return;

    quit();
}

void FirmwareUpgradeComponent::quit()
{
    closing = true;

    // The wizard's own window hands its close requests to this component, so
    // it is hidden here directly, which ends its modal loop.
    if (auto* dialog = findParentComponentOfClass<juce::DialogWindow>())
        dialog->setVisible (false);
}

void FirmwareUpgradeComponent::buttonClicked (juce::Button* button)
{
    if (button == &updateNameButton)
    {
        // Its box would run inside the upload's pauses and stall the stream.
        if (! uploading)
            showDeviceNameHelp();

        return;
    }

    for (int i = 0; i < numSteps; ++i)
        if (button == &stepButtons[i])
            runSteps ((Next) ((int) Next::step1 + i));
}

juce::String FirmwareUpgradeComponent::deviceNameHelpCommand (juce::SystemStats::OperatingSystemType os)
{
    if ((os & juce::SystemStats::MacOSX) == 0)
        return {};

    return os > juce::SystemStats::MacOSX_10_14 ? "open /System/Applications/Utilities/Audio\\ MIDI\\ Setup.app"
                                                : "open /Applications/Utilities/Audio\\ MIDI\\ Setup.app";
}

void FirmwareUpgradeComponent::showDeviceNameHelp()
{
    const auto command = deviceNameHelpCommand (juce::SystemStats::getOperatingSystemType());

    if (command.isNotEmpty())
        runShellCommand (command);

    juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, {}, deviceNameHelp);
}

} // namespace zuvo
