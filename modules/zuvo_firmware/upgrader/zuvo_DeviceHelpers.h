namespace zuvo
{

/** Whether a port name shows a unit in upgrade mode: it contains "Zuvo
    firmware upgrade" (case ignored), or, in test mode outside auto mode, its
    lower-cased and trimmed form matches "ZUVO*Midi*" (case ignored). */
bool isUpgradePort (juce::String name);

/** The port lists and filters of the firmware upgrader. Message thread only. */
namespace DeviceHelpers
{
    /** The port filter: with normalPort false, an upgrade-mode port; with
        normalPort true, any name without "Microsoft" that, unless
        allowUpgradePort, does not contain "Zuvo firmware upgrade" (case
        ignored throughout). */
    bool validDeviceName (const juce::String& name, bool normalPort, bool allowUpgradePort);

    /** The output (true) or input (false) names without exact duplicates (the
        first kept), empty names and names containing "Microsoft" (case ignored). */
    juce::StringArray getDeviceNames0 (bool outputs);

    /** The cleaned output list with every name that contains "Zuvo firmware
        upgrade" (case ignored) shown as "Zuvo firmware upgrade manager"; same
        length and order as getDeviceNames0 (true). The argument is not used. */
    juce::StringArray getDeviceNames (bool);

    /** The system's output name behind a display name: for an upgrade-mode
        display name, the cleaned output at the position where the display
        list first shows exactly this name (empty when it does not); any other
        name unchanged. */
    juce::String convFwugMan (const juce::String& name);
}

} // namespace zuvo
