namespace midiports
{

namespace
{
    constexpr int headerSize = 14;         // ten 55 bytes, 1D 03 00 49
    constexpr int commandFrameSize = 17;
    constexpr int blockSize = 512;
    constexpr int writeFrameSize = commandFrameSize + blockSize + 1;
    constexpr int vantorEraseCode = 0x70;

    juce::uint8 expectedHeaderByte (size_t position)
    {
        constexpr juce::uint8 tail[] = { 0x1d, 0x03, 0x00, 0x49 };
        return position < 10 ? 0x55 : tail[position - 10];
    }

    juce::uint8 sumOf (const std::vector<juce::uint8>& bytes, size_t count)
    {
        unsigned int sum = 0;

        for (size_t i = 0; i < count; ++i)
            sum += bytes[i];

        return (juce::uint8) (sum & 0xff);
    }

    bool isPrefix (const juce::MidiMessage& message)
    {
        const auto* data = message.getRawData();
        return message.getRawDataSize() == 3 && data[0] == 0xef && data[1] == 0x7f && data[2] == 0x7f;
    }

    juce::String hexByte (int byte)
    {
        return juce::String::toHexString (byte).paddedLeft ('0', 2).toUpperCase();
    }

    juce::String nameOf (int command)
    {
        switch (command)
        {
            case SimulatedLoader::connect:  return "connect";
            case SimulatedLoader::erase:    return "erase";
            case SimulatedLoader::write:    return "write";
            case SimulatedLoader::reset:    return "reset";
            default:                        return "command " + hexByte (command);
        }
    }
}

//==============================================================================
struct SimulatedLoader::Impl
{
    /** What a complete frame asks of the unit, done once the lock is released. */
    struct Outcome
    {
        bool answer = false, positive = false, leave = false;
        int command = 0;
    };

    Reply reply;
    std::function<void()> leaveUpgradeMode;

    mutable juce::CriticalSection lock;
    std::vector<juce::uint8> pending;
    bool pendingAfterPrefix = false, prefixSeen = false;
    bool connected = false, erased = false;
    int numBlocks = 0;

    juce::Array<int> silentCommands;
    int silentBlock = -1;
    bool nakOnReset = false, staysAfterReset = false;

    std::vector<Frame> frames;
    juce::MemoryBlock image;
    juce::StringArray errors;

    void receive (const juce::MidiMessage& message)
    {
        Outcome outcome;

        {
            const juce::ScopedLock sl (lock);
            outcome = take (message);
        }

        if (outcome.answer)
        {
            const juce::uint8 answer[] = { 0x9f, (juce::uint8) outcome.command, (juce::uint8) (outcome.positive ? 0x01 : 0x7f) };
            reply (juce::MidiMessage (answer, (int) sizeof (answer)));
        }

        if (outcome.leave)
            leaveUpgradeMode();
    }

    Outcome take (const juce::MidiMessage& message)
    {
        if (isPrefix (message))
        {
            breakOff ("by EF 7F 7F");
            prefixSeen = true;
            return {};
        }

        const auto byte = nibbleByte (message);

        if (byte < 0)
        {
            breakOff ("by a message that is no nibble message");
            errors.add ("Not a nibble message: " + juce::String::toHexString (message.getRawData(), message.getRawDataSize()).toUpperCase());
            prefixSeen = false;
            return {};
        }

        if (pending.empty())
        {
            pendingAfterPrefix = prefixSeen;
            prefixSeen = false;
        }

        const auto position = pending.size();
        pending.push_back ((juce::uint8) byte);

        if (position < headerSize && byte != expectedHeaderByte (position))
        {
            errors.add ("Frame byte " + juce::String ((int) position) + " is " + hexByte (byte)
                        + " instead of " + hexByte (expectedHeaderByte (position)));
            pending.clear();
            return {};
        }

        if (position == headerSize && byte != connect && byte != erase && byte != write && byte != reset)
        {
            errors.add ("Unknown command " + hexByte (byte));
            pending.clear();
            return {};
        }

        const auto command = pending.size() > headerSize ? (int) pending[headerSize] : -1;

        if (command < 0 || (int) pending.size() < (command == write ? writeFrameSize : commandFrameSize))
            return {};

        auto outcome = takeFrame (command);
        pending.clear();
        return outcome;
    }

    void breakOff (const juce::String& reason)
    {
        if (! pending.empty())
            errors.add ("Frame broken off after " + juce::String ((int) pending.size()) + " bytes " + reason);

        pending.clear();
    }

    Outcome takeFrame (int command)
    {
        Frame frame { command, pending[headerSize + 1], pendingAfterPrefix, false };
        const auto problem = problemWith (frame);

        if (problem.isNotEmpty())
            errors.add (nameOf (command) + " frame " + problem);

        frame.valid = problem.isEmpty();
        frames.push_back (frame);

        Outcome outcome;
        outcome.command = command;
        outcome.positive = frame.valid && ! (command == reset && nakOnReset);
        outcome.answer = ! silentCommands.contains (command);

        if (frame.valid)
            apply (frame, outcome);

        return outcome;
    }

    juce::String problemWith (const Frame& frame) const
    {
        const auto isWrite = frame.command == write;

        if (isWrite == frame.afterPrefix)
            return isWrite ? "after EF 7F 7F" : "without EF 7F 7F before it";

        if (isWrite)
        {
            if (pending[commandFrameSize - 1] != 0)
                return "with header checksum " + hexByte (pending[commandFrameSize - 1]);

            if (pending[writeFrameSize - 1] != sumOf (pending, writeFrameSize - 1))
                return "with checksum " + hexByte (pending[writeFrameSize - 1]) + " instead of "
                       + hexByte (sumOf (pending, writeFrameSize - 1));

            if (! erased)
                return "before an erase";

            if (frame.parameter != (numBlocks & 0xff))
                return "with block number " + hexByte (frame.parameter) + " instead of " + hexByte (numBlocks & 0xff);

            return {};
        }

        if (pending[commandFrameSize - 1] != sumOf (pending, commandFrameSize - 1))
            return "with checksum " + hexByte (pending[commandFrameSize - 1]) + " instead of "
                   + hexByte (sumOf (pending, commandFrameSize - 1));

        if (frame.command == erase && frame.parameter != vantorEraseCode)
            return "with erase code " + hexByte (frame.parameter);

        if (frame.command == erase && ! connected)
            return "before a connect";

        if ((frame.command == connect || frame.command == reset) && frame.parameter != 0)
            return "with parameter " + hexByte (frame.parameter);

        return {};
    }

    void apply (const Frame& frame, Outcome& outcome)
    {
        switch (frame.command)
        {
            case connect:
                connected = true;
                erased = false;
                numBlocks = 0;
                image.reset();
                break;

            case erase:
                erased = true;
                break;

            case write:
                if (numBlocks == silentBlock)
                    outcome.answer = false;

                image.append (pending.data() + commandFrameSize, blockSize);
                ++numBlocks;
                break;

            case reset:
                connected = erased = false;
                outcome.leave = ! staysAfterReset;
                break;

            default:
                break;
        }
    }
};

//==============================================================================
SimulatedLoader::SimulatedLoader (Reply r, std::function<void()> leave)
    : impl (std::make_unique<Impl>())
{
    impl->reply = std::move (r);
    impl->leaveUpgradeMode = std::move (leave);
}

SimulatedLoader::~SimulatedLoader() = default;

void SimulatedLoader::receive (const juce::MidiMessage& message)
{
    impl->receive (message);
}

void SimulatedLoader::setSilentOn (Command command, bool shouldBeSilent)
{
    const juce::ScopedLock sl (impl->lock);

    if (shouldBeSilent)
        impl->silentCommands.addIfNotAlreadyThere (command);
    else
        impl->silentCommands.removeFirstMatchingValue (command);
}

void SimulatedLoader::setSilentOnBlock (int blockIndex)
{
    const juce::ScopedLock sl (impl->lock);
    impl->silentBlock = blockIndex;
}

void SimulatedLoader::setNakOnReset (bool shouldNak)
{
    const juce::ScopedLock sl (impl->lock);
    impl->nakOnReset = shouldNak;
}

void SimulatedLoader::setStaysAfterReset (bool shouldStay)
{
    const juce::ScopedLock sl (impl->lock);
    impl->staysAfterReset = shouldStay;
}

std::vector<SimulatedLoader::Frame> SimulatedLoader::getFrames() const
{
    const juce::ScopedLock sl (impl->lock);
    return impl->frames;
}

juce::MemoryBlock SimulatedLoader::getReceivedImage() const
{
    const juce::ScopedLock sl (impl->lock);
    return impl->image;
}

juce::StringArray SimulatedLoader::getErrors() const
{
    const juce::ScopedLock sl (impl->lock);
    return impl->errors;
}

} // namespace midiports
