#pragma once

#include <juce_core/juce_core.h>

/** Sends the settings file of every device object created during its lifetime
    into a fresh temporary folder instead of the machine-wide one, and deletes
    that folder afterwards.
*/
struct TemporarySettings
{
    TemporarySettings();
    ~TemporarySettings();

    /** Where the settings file goes. */
    juce::File getFile() const;

    const juce::File folder;

    JUCE_DECLARE_NON_COPYABLE (TemporarySettings)
};
