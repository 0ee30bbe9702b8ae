#pragma once

#include <juce_core/juce_core.h>

/** A new, empty folder under the temporary folder whose name no other test
    process can pick at the same time (tests run in parallel). */
juce::File createUniqueTemporaryFolder (const juce::String& prefix);

/** A folder of its own under the temporary folder, deleted afterwards. */
struct ScopedTemporaryFolder
{
    explicit ScopedTemporaryFolder (const juce::String& prefix) : folder (createUniqueTemporaryFolder (prefix)) {}
    ~ScopedTemporaryFolder()   { folder.deleteRecursively(); }

    const juce::File folder;

    JUCE_DECLARE_NON_COPYABLE (ScopedTemporaryFolder)
};
