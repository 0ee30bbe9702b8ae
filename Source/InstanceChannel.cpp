#include "InstanceChannel.h"

#if ! JUCE_WINDOWS
 #include <unistd.h>
#endif

namespace
{
// Marks the messages of this channel, so that nothing else is taken for a
// command line. Each message is the command line with its terminating zero,
// so that an empty command line is still a message (the framework drops
// empty ones).
constexpr juce::uint32 messageMagic = 0x56725231;

// How long a later start keeps trying to reach a running instance that is
// still opening its pipe.
constexpr int handOverTimeoutMs = 2000;

juce::String getUserKey()
{
   #if JUCE_WINDOWS
    return juce::File::createLegalFileName (juce::SystemStats::getLogonName());
   #else
    return juce::String ((juce::int64) getuid());
   #endif
}
} // namespace

//==============================================================================
/** One end of the pipe: the running instance listens, a later start sends. */
class InstanceChannel::Connection final : public juce::InterprocessConnection
{
public:
    explicit Connection (CommandLineCallback callback = {})
        : InterprocessConnection (true, messageMagic),
          onCommandLine (std::move (callback))
    {
    }

    ~Connection() override
    {
        disconnect (-1, Notify::no);
    }

    void connectionMade() override {}
    void connectionLost() override {}

    void messageReceived (const juce::MemoryBlock& message) override
    {
        if (onCommandLine != nullptr)
            onCommandLine (juce::String::fromUTF8 (static_cast<const char*> (message.getData()),
                                                   (int) message.getSize() - 1));
    }

private:
    const CommandLineCallback onCommandLine;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Connection)
};

//==============================================================================
InstanceChannel::InstanceChannel() = default;

InstanceChannel::~InstanceChannel()
{
    // Close the pipe before the lock goes, so that a start that finds the
    // lock free never meets a listener that is about to vanish.
    listener.reset();
}

bool InstanceChannel::sendCommandLineToPreexistingInstance (const juce::String& commandLine,
                                                            CommandLineCallback onAnotherInstance)
{
    jassert (listener == nullptr); // call it once

    if (lock.enter (0))
    {
        listener = std::make_unique<Connection> (std::move (onAnotherInstance));

        // With no timeout the pipe is read for as long as this instance runs.
        listener->createPipe (getChannelPath(), -1, false);
        return false;
    }

    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) handOverTimeoutMs;
    Connection sender;

    do
    {
        if (sender.connectToPipe (getChannelPath(), handOverTimeoutMs)
             && sender.sendMessage ({ commandLine.toRawUTF8(), commandLine.getNumBytesAsUTF8() + 1 }))
            break;

        juce::Thread::sleep (20);
    }
    while (juce::Time::getMillisecondCounter() < deadline);

    // Another instance holds the lock, so this one must not start, whether or
    // not the running one took the message.
    return true;
}

juce::File InstanceChannel::getFolder()
{
    for (const auto* variable : { "VTR_INSTANCE_DIR", "XDG_RUNTIME_DIR" })
    {
        const auto folder = juce::SystemStats::getEnvironmentVariable (variable, {});

        if (juce::File::isAbsolutePath (folder))
            return juce::File (folder);
    }

    return juce::File::getSpecialLocation (juce::File::tempDirectory);
}

juce::String InstanceChannel::getChannelPath()
{
    return getFolder().getChildFile ("vantor-rilo-" + getUserKey()).getFullPathName();
}
