#pragma once

#include <juce_core/juce_core.h>

/** A file system of its own, small enough to fill: a tmpfs of this many KiB
    mounted on a fresh temporary folder, unmounted and deleted afterwards.

    Mounting needs root's privilege to mount; where the system refuses it,
    `isMounted()` is false and `whyNotMounted` says why.
*/
class SmallFileSystem
{
public:
    explicit SmallFileSystem (int sizeKiB);
    ~SmallFileSystem();

    bool isMounted() const noexcept    { return whyNotMounted.isEmpty(); }

    /** Takes up the free space with a filler file (not sparse) until at most
        this many bytes are left; false when it could not. */
    bool fillLeaving (juce::int64 bytesLeft);

    /** Gives the filler's space back. */
    void unfill();

    const juce::File folder;
    juce::String whyNotMounted;

private:
    juce::File filler() const    { return folder.getChildFile ("filler"); }

    JUCE_DECLARE_NON_COPYABLE (SmallFileSystem)
};
