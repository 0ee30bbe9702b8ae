namespace zuvo
{

namespace
{
    const char* const upgradePortText = "Zuvo firmware upgrade";
    const char* const upgradeManagerName = "Zuvo firmware upgrade manager";
}

bool isUpgradePort (juce::String name)
{
    if (name.containsIgnoreCase (upgradePortText))
        return true;

    return bTest_fwug && ! bAuto && name.toLowerCase().trim().matchesWildcard ("ZUVO*Midi*", true);
}

namespace DeviceHelpers
{

bool validDeviceName (const juce::String& name, bool normalPort, bool allowUpgradePort)
{
    if (! normalPort)
        return isUpgradePort (name);

    if (name.containsIgnoreCase ("Microsoft"))
        return false;

    return allowUpgradePort || ! name.containsIgnoreCase (upgradePortText);
}

juce::StringArray getDeviceNames0 (bool outputs)
{
    auto names = outputs ? midiports::getOutputDevices() : midiports::getInputDevices();
    names.removeDuplicates (false);
    names.removeEmptyStrings();

    for (int i = names.size(); --i >= 0;)
        if (names[i].containsIgnoreCase ("Microsoft"))
            names.remove (i);

    return names;
}

juce::StringArray getDeviceNames (bool)
{
    auto names = getDeviceNames0 (true);

    for (auto& name : names)
        if (name.containsIgnoreCase (upgradePortText))
            name = upgradeManagerName;

    return names;
}

juce::String convFwugMan (const juce::String& name)
{
    if (! name.containsIgnoreCase (upgradePortText))
        return name;

    const auto position = getDeviceNames (true).indexOf (name);
    return position >= 0 ? getDeviceNames0 (true)[position] : juce::String();
}

} // namespace DeviceHelpers

//==============================================================================
int FirmwareUpgradeComponent::numberForDevice (juce::StringRef text, bool outputs)
{
    int count = 0;

    for (const auto& name : outputs ? midiports::getOutputDevices() : midiports::getInputDevices())
        if (name.contains (text))
            ++count;

    return count;
}

int FirmwareUpgradeComponent::indexForFirstDevice (juce::StringRef text, bool outputs)
{
    const auto names = DeviceHelpers::getDeviceNames0 (outputs);

    for (int i = 0; i < names.size(); ++i)
        if (names[i].contains (text))
            return i;

    return -1;
}

int FirmwareUpgradeComponent::getNumsOf_Fwug_and_Prod (int pid, int weight)
{
    int result = 0;

    for (const auto& name : midiports::getOutputDevices())
    {
        if (name.contains (upgradePortText))
            result += weight;

        if (Product::pidFromDeviceName (name) == pid)
            ++result;
    }

    return result;
}

juce::StringRef FirmwareUpgradeComponent::firstTargetNameByPid (int pid, const juce::StringArray& names)
{
    for (const auto& name : names)
        if (Product::pidFromDeviceName (name) == pid)
            return name;

    return {};
}

} // namespace zuvo
