#if JUCE_LINUX
 #include <sys/prctl.h>
#endif

namespace zuvo
{

namespace
{
    /** What the unused rest of the last write frame carries: the value of erased flash. */
    constexpr juce::uint8 fillByte = 0xff;

    /** The upload's 1 ms pauses are sleeps of the message thread, which the
        kernel lets overrun by the thread's timer slack (50 us by default):
        some 5 per cent of a whole upload. The slack is made fine meanwhile. */
    class ScopedFineTimerSlack
    {
    public:
       #if JUCE_LINUX
        ScopedFineTimerSlack()   { prctl (PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL); }
        ~ScopedFineTimerSlack()  { if (previous > 0) prctl (PR_SET_TIMERSLACK, (unsigned long) previous, 0UL, 0UL, 0UL); }

    private:
        const int previous = prctl (PR_GET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL);
       #endif
    };
}

FirmwareUpgradeComponent::MidiInputHandler::MidiInputHandler (FirmwareUpgradeComponent& wizard, int productId)
    : owner (wizard),
      pid (productId),
      runMessageLoop ([] (int ms) { juce::MessageManager::getInstance()->runDispatchLoopUntil (ms); })
{
}

FirmwareUpgradeComponent::MidiInputHandler::~MidiInputHandler()
{
    programData.free();
    output.reset();
    input.reset();
}

//==============================================================================
void FirmwareUpgradeComponent::MidiInputHandler::start (const juce::String& name)
{
    stop();

    const auto inputs = midiports::getInputDevices();
    const auto outputs = midiports::getOutputDevices();
    const auto inputIndex = inputs.indexOf (name, true);
    const auto outputIndex = outputs.indexOf (name, false);

    input = inputIndex >= 0 ? midiports::openInputDevice (inputIndex, this) : nullptr;
    output = outputIndex >= 0 ? midiports::openOutputDevice (outputIndex) : nullptr;

    if (input != nullptr)
        input->start();
}

void FirmwareUpgradeComponent::MidiInputHandler::stop()
{
    if (input == nullptr)
        return;

    input->stop();
    input.reset();
    output.reset();
}

void FirmwareUpgradeComponent::MidiInputHandler::dropProgram()
{
    programSize = 0;
    programData.free();
}

void FirmwareUpgradeComponent::MidiInputHandler::openProgram (const juce::File& file)
{
    dropProgram();
    programFile = file;

    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return;

    const auto length = stream.getTotalLength();

    if (length > (juce::int64) maxProgramSize)
    {
        programSize = (juce::uint64) length;
        return;
    }

    programData.calloc ((size_t) length + 1);
    programSize = (juce::uint64) juce::jmax (0, stream.read (programData, (int) length));
}

//==============================================================================
void FirmwareUpgradeComponent::MidiInputHandler::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto* data = message.getRawData();

    if (message.getRawDataSize() < 3 || data[0] != 0x9f)
        return;

    if (data[2] == 0x7f)
    {
        nak = true;
        return;
    }

    switch (data[1])
    {
        case 0x7f:  ackConnect = true;  break;
        case 0x00:  ackErase = true;    break;
        case 0x01:  ackWrite = true;    break;
        case 0x02:  ackReset = true;    break;
        default:    break;
    }
}

//==============================================================================
void FirmwareUpgradeComponent::MidiInputHandler::clearFlags()
{
    for (auto* flag : { &ackConnect, &ackErase, &ackWrite, &ackReset, &nak })
        *flag = false;
}

void FirmwareUpgradeComponent::MidiInputHandler::showPhase (const juce::String& caption)
{
    owner.progressCaption.setText (caption, juce::dontSendNotification);
}

void FirmwareUpgradeComponent::MidiInputHandler::showProgress (double sentUnits)
{
    // An image that does not fill its last block would carry the bar past its end.
    owner.progress = juce::jmin (1.0, 0.8 + 0.2 * sentUnits / ((double) programSize + 3.0));
}

void FirmwareUpgradeComponent::MidiInputHandler::paceAfterCountedMessage()
{
    // The loader takes the stream at one 1 ms pause per two messages.
    if (++pacingCounter == 2)
    {
        pacingCounter = 0;
        runMessageLoop (1);
    }
}

void FirmwareUpgradeComponent::MidiInputHandler::sendCountedMessage (const juce::MidiMessage& message)
{
    output->sendMessageNow (message);
    paceAfterCountedMessage();
}

void FirmwareUpgradeComponent::MidiInputHandler::sendCommandFrame (const juce::uint8* frame)
{
    sendCountedMessage (midiExtraMessage());

    for (int i = 0; i < loaderFrameSize; ++i)
        sendCountedMessage (nibbleMessage (frame[i]));
}

void FirmwareUpgradeComponent::MidiInputHandler::sendWriteFrame (const juce::uint8* frame)
{
    for (int i = 0; i < writeFrameSize; ++i)
    {
        block.addEvent (nibbleMessage (frame[i]), 0);
        output->sendBlockOfMessagesNow (block);
        block.clear();
        paceAfterCountedMessage();
    }
}

bool FirmwareUpgradeComponent::MidiInputHandler::waitFor (const std::atomic<bool>& flag, int maxPolls,
                                                          const std::atomic<bool>* endEarly)
{
    for (int poll = 0; poll < maxPolls; ++poll)
    {
        if (flag)
            return true;

        runMessageLoop (pollMs);

        if (endEarly != nullptr && *endEarly)
            break;
    }

    return flag;
}

/*  The upload, as the unit's loader takes it:

    connect   EF 7F 7F and the connect frame; no acknowledgement within 150
              polls fails "Could not connect to hardware"
    erase     EF 7F 7F and the erase frame with the product's erase code; the
              write begins after 150 polls even without an acknowledgement
    write     one 530-byte frame per 512 image bytes, block numbers counting
              from 00 modulo 256; a block without acknowledgement within
              maxBlockPolls fails "Could not write new firmware"
    reset     EF 7F 7F and the reset frame; a nak without acknowledgement
              fails with the advice to power-cycle the unit (the image is
              already written), no answer at all counts as success

    One counter paces the whole stream from the connect frame on: a 1 ms
    pause follows every odd-numbered message.
*/
juce::Result FirmwareUpgradeComponent::MidiInputHandler::sendProgram()
{
    if (input == nullptr)
        return juce::Result::fail ("No MIDI input device is open");

    if (output == nullptr)
        return juce::Result::fail ("No MIDI output device is open");

    const auto fail = [this] (const char* message)
    {
        clearFlags();
        return juce::Result::fail (message);
    };

    if (programSize < minProgramSize || programSize > maxProgramSize || programData == nullptr)
        return fail ("Firmware exception!");

    ScopedFineTimerSlack fineSleeps;
    clearFlags();
    showProgress (0);
    showPhase ("Connecting...");

    fillInChecksum (midiConnect);
    output->sendMessageNow (midiExtraMessage());
    pacingCounter = 1;

    for (const auto byte : midiConnect)
        sendCountedMessage (nibbleMessage (byte));

    if (! waitFor (ackConnect, maxCommandPolls))
        return fail ("Could not connect to hardware");

    runMessageLoop (0);
    showProgress (1);
    showPhase ("Erasing...");

    midiErase[loaderParameterByte] = eraseCodeFor (pid);
    fillInChecksum (midiErase);
    sendCommandFrame (midiErase);

    if (! waitFor (ackErase, maxCommandPolls))
        clearFlags();

    runMessageLoop (0);
    showProgress (2);
    showPhase ("Installing...");

    midiWrite[loaderParameterByte] = 0;
    juce::uint8 frame[writeFrameSize];

    for (juce::uint64 offset = 0; offset < programSize; offset += loaderBlockSize)
    {
        std::copy_n (midiWrite, loaderFrameSize, frame);
        frame[loaderChecksumByte] = 0;

        const auto numImageBytes = (size_t) juce::jmin ((juce::uint64) loaderBlockSize, programSize - offset);
        auto* blockStart = frame + loaderFrameSize;
        std::copy_n (programData.get() + offset, numImageBytes, blockStart);
        std::fill (blockStart + numImageBytes, blockStart + loaderBlockSize, fillByte);
        frame[writeFrameSize - 1] = checksumOf (frame, writeFrameSize - 1);

        midiWrite[loaderParameterByte] = (juce::uint8) ((midiWrite[loaderParameterByte] + 1) & 0xff);
        ackWrite = false;
        sendWriteFrame (frame);

        if (! waitFor (ackWrite, maxBlockPolls))
            return fail ("Could not write new firmware");

        showProgress ((double) (offset + loaderBlockSize));
    }

    runMessageLoop (0);
    showPhase ("Resetting...");

    fillInChecksum (midiReset);
    ackReset = false;
    sendCommandFrame (midiReset);

    if (! waitFor (ackReset, maxCommandPolls, &nak) && nak)
        return fail ("Your firmware has been upgraded! Power off your unit and wait for 5 seconds, "
                     "then turn back on for changes to take effect");

    clearFlags();
    runMessageLoop (0);
    return juce::Result::ok();
}

//==============================================================================
bool FirmwareUpgradeComponent::resetAllFwug0()
{
    resetUnitsInUpgradeMode();
    return numberForDevice ("Zuvo firmware upgrade", true) == 0;
}

} // namespace zuvo
