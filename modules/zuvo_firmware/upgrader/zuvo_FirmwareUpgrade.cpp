namespace zuvo
{

namespace
{
    /** The wizard's window: a dialog with the native title bar, whose close
        requests go to the wizard, which may refuse them. */
    class WizardWindow final : public ContentSizedDialog
    {
    public:
        using ContentSizedDialog::ContentSizedDialog;

        void closeButtonPressed() override
        {
            if (auto* content = getContentComponent())
                content->userTriedToCloseWindow();
        }

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WizardWindow)
    };
}

int FirmwareUpgrade::runWizardDialogModal (int pid, juce::Component* centreAround, bool showHubWarning, bool online)
{
    if (showHubWarning && ! displayWarningAboutHUBs())
        return 0;

    auto* wizard = new FirmwareUpgradeComponent (pid, online);
    juce::DialogWindow::LaunchOptions options;
    options.dialogTitle = "Firmware Upgrade";
    options.dialogBackgroundColour = juce::Colours::lightgrey;
    options.escapeKeyTriggersCloseButton = false;
    options.content.setOwned (wizard);
    options.componentToCentreAround = centreAround;
    options.resizable = false;
    options.useNativeTitleBar = true;
    WizardWindow window (options);

    window.enterModalState (true, nullptr, false);
    wizard->grabKeyboardFocus();
    return window.runModalLoop();
}

bool FirmwareUpgrade::displayWarningAboutHUBs()
{
    return juce::AlertWindow::showOkCancelBox (juce::MessageBoxIconType::InfoIcon,
                                               "Firmware Upgrader about to start",
                                               "\n* IMPORTANT WARNING! *\n\n"
                                               "FAILURE TO FOLLOW THESE INSTRUCTIONS COULD DAMAGE YOUR DEVICE!!\n\n"
                                               "- Connect ONLY the device you want to update\n"
                                               "- Make sure the power supply is connected (if any)\n"
                                               "- Connect device directly to computer (no hub)\n"
                                               "- Do not touch device during firmware update");
}

} // namespace zuvo
