#include "TemporaryFolder.h"

#include <unistd.h>

juce::File createUniqueTemporaryFolder (const juce::String& prefix)
{
    const auto name = prefix + "-" + juce::String ((int) getpid()) + "-"
                      + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64());
    auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile (name);
    folder.createDirectory();
    return folder;
}
