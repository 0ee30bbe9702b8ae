#include "TemporarySettings.h"

#include "VtrPlus.h"

TemporarySettings::TemporarySettings()
    : folder (juce::File::createTempFile ("settings"))
{
    VtrPlus::setSettingsFolder (folder);
}

TemporarySettings::~TemporarySettings()
{
    VtrPlus::setSettingsFolder ({});
    folder.deleteRecursively();
}

juce::File TemporarySettings::getFile() const
{
    return folder.getChildFile ("VtrPlus.conf");
}
