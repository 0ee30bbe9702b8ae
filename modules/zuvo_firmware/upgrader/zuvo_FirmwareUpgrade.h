namespace zuvo
{

/** The entry of the firmware upgrader. */
class FirmwareUpgrade
{
public:
    /** Runs the upgrade wizard for a product modally, centred around a
        component; with showHubWarning the warning about hubs comes first and
        cancelling it opens nothing (the result is then 0). With online the
        wizard takes its firmware from the firmware catalogue, else from a
        local file. Returns the dialog's modal result.
    */
    static int runWizardDialogModal (int pid, juce::Component* centreAround, bool showHubWarning, bool online);

    /** The synchronous warning box about hubs; true for OK. */
    static bool displayWarningAboutHUBs();
};

} // namespace zuvo
