namespace zuvo
{

const juce::uint8 firmwareUpgradeRequest[9]  = { 0xf0, 0x1d, 0x03, 0x00, 0x5e, 0x00, 0x7f, 0x7f, 0xf7 };
const juce::uint8 firmwareUpgradeRequest8[8] = { 0xf0, 0x1d, 0x03, 0x00, 0x5e, 0x55, 0x7f, 0xf7 };

#define ZUVO_LOADER_FRAME(command) { 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, \
                                     0x1d, 0x03, 0x00, 0x49, command, 0x00, 0x00 }

juce::uint8 midiConnect[loaderFrameSize] = ZUVO_LOADER_FRAME (0x7f);
juce::uint8 midiErase[loaderFrameSize]   = ZUVO_LOADER_FRAME (0x00);
juce::uint8 midiWrite[loaderFrameSize]   = ZUVO_LOADER_FRAME (0x01);
juce::uint8 midiReset[loaderFrameSize]   = ZUVO_LOADER_FRAME (0x02);

#undef ZUVO_LOADER_FRAME

// Every product is erased with code 70, except the Ferro 2, 4, 8 and 2 Pro
// (120 to 123), which carry another flash part.
const juce::uint8 erase15[200] =
{
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x71, 0x71, 0x71, 0x71, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70,
    0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70, 0x70
};

namespace
{
    /** The code in bytes 3 and 4 of the upgrade request: the product ID,
        except for models that share one loader and answer to its code. */
    int upgradeCodeFor (int pid)
    {
        switch (pid)
        {
            case 115: case 116: case 117:   return 115;   // Kaleo MK2 models
            case 142: case 143:             return 142;   // the two Lumo Beat revisions
            default:                        return pid;
        }
    }

    /** Byte 7 of the 9-byte request: 7E for the Pilot One and Two, 7F for the rest. */
    juce::uint8 upgradeMarkerFor (int pid)
    {
        return pid == 130 || pid == 131 ? 0x7e : 0x7f;
    }
}

juce::uint8 eraseCodeFor (int pid)
{
    return juce::isPositiveAndBelow (pid, (int) std::size (erase15)) ? erase15[pid] : (juce::uint8) 0x70;
}

juce::MidiMessage makeFirmwareUpgradeRequestX (int pid, int length)
{
    const auto nineBytes = length > 8;
    juce::uint8 bytes[9];
    std::copy_n (nineBytes ? firmwareUpgradeRequest : firmwareUpgradeRequest8, nineBytes ? 9 : 8, bytes);

    const auto code = upgradeCodeFor (pid);
    bytes[3] = (juce::uint8) ((code >> 7) & 0xff);
    bytes[4] = (juce::uint8) (code & 0x7f);

    if (nineBytes)
        bytes[7] = upgradeMarkerFor (pid);

    // A length beyond the template gives the whole template, not the bytes after it.
    return juce::MidiMessage (bytes, juce::jlimit (1, nineBytes ? 9 : 8, length));
}

juce::uint8 checksumOf (const juce::uint8* bytes, size_t numBytes)
{
    unsigned int sum = 0;

    for (size_t i = 0; i < numBytes; ++i)
        sum += bytes[i];

    return (juce::uint8) (sum & 0xff);
}

void fillInChecksum (juce::uint8 (&frame)[loaderFrameSize])
{
    frame[loaderChecksumByte] = checksumOf (frame, loaderChecksumByte);
}

void sleep_ms (int ms)
{
    auto* messageManager = juce::MessageManager::getInstance();

    for (; ms > 100; ms -= 100)
        messageManager->runDispatchLoopUntil (100);

    messageManager->runDispatchLoopUntil (ms);
}

void resetUnitsInUpgradeMode()
{
    auto* messageManager = juce::MessageManager::getInstance();
    const auto outputs = midiports::getOutputDevices();

    // Ports open by their position in the system's own list, empty names included.
    for (int i = 0; i < outputs.size(); ++i)
    {
        if (outputs[i].isEmpty() || ! DeviceHelpers::validDeviceName (outputs[i], false, true))
            continue;

        auto output = midiports::openOutputDevice (i);

        if (output == nullptr)
            continue;

        output->sendMessageNow (midiExtraMessage());
        messageManager->runDispatchLoopUntil (1);
        fillInChecksum (midiReset);

        for (const auto byte : midiReset)
        {
            output->sendMessageNow (nibbleMessage (byte));
            messageManager->runDispatchLoopUntil (1);
        }
    }

    messageManager->runDispatchLoopUntil (50);
}

} // namespace zuvo
