#pragma once

#include <juce_events/juce_events.h>

#include <functional>

//==============================================================================
/**
    Keeps the application to one running instance per user, and lets a later
    start hand its command line to the running one.

    The running instance holds a lock file and listens on a named pipe beside
    it; a later start finds the lock taken, writes its command line into the
    pipe and should then quit. The lock decides alone, so a pipe left behind by
    a crashed instance does no harm: the next start takes the lock and reuses
    the pipe.

    Both live in the folder getFolder() names, under names keyed by the user
    id. The framework's own check is not used with this: on Linux it refuses a
    second start without telling the running instance.

    Message thread only; command lines arrive on the message thread.
*/
class InstanceChannel
{
public:
    using CommandLineCallback = std::function<void (const juce::String& commandLine)>;

    InstanceChannel();
    ~InstanceChannel();

    /** Returns true when another instance is running: the command line has
        been handed to it (as far as it takes it within about two seconds), and
        this process should end without starting.

        Returns false when this process is the running instance from now on;
        each later start's command line then reaches onAnotherInstance.
        Call it once.
    */
    bool sendCommandLineToPreexistingInstance (const juce::String& commandLine,
                                               CommandLineCallback onAnotherInstance);

    /** The folder of the lock file and the pipe: the environment variable
        VTR_INSTANCE_DIR when it is set (tests use it to keep their instances
        apart), else the user's runtime folder $XDG_RUNTIME_DIR, else the
        temporary folder.
    */
    static juce::File getFolder();

private:
    class Connection;

    /** The lock file is this path with ".lock"; the pipe's two ends add "_in" and "_out". */
    static juce::String getChannelPath();

    juce::InterProcessLock lock { getChannelPath() + ".lock" };
    std::unique_ptr<Connection> listener;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstanceChannel)
};
