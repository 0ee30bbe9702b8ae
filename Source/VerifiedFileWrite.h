#pragma once

#include <juce_core/juce_core.h>

/** Replaces the content of a file with these bytes, or leaves it as it was.

    The bytes go into a hidden staging file beside the target, whose name ends
    in ".saving" (so a file dialog that shows only the target's extension never
    offers a leftover), are flushed to disk and read back; only when the staging
    file holds exactly these bytes is it renamed over the target, in one step.
    A replaced file keeps its permission bits; a symbolic link is followed, so
    the file it names is replaced and the link stays.

    Fails, changing nothing and leaving no staging file, when the target is a
    folder, is read-only, its folder is missing or read-only, or the bytes do
    not all reach the disk. Read-only means what the permission bits say, also
    for root, whom the system lets write anything.
*/
bool writeFileVerified (const juce::File& target, const juce::MemoryBlock& content);
