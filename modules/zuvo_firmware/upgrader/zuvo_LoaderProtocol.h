namespace zuvo
{

/** The templates of the upgrade request, the system-exclusive message that
    asks a unit running its normal firmware to enter its upgrade mode. */
extern const juce::uint8 firmwareUpgradeRequest[9];    // F0 1D 03 00 5E 00 7F 7F F7
extern const juce::uint8 firmwareUpgradeRequest8[8];   // F0 1D 03 00 5E 55 7F F7

/** The upgrade request for a product: the first `length` bytes of the 9-byte
    template (length above 8) or of the 8-byte one (any other length), with
    the product's code in bytes 3 and 4 (and, in the 9-byte form, its marker
    in byte 7). */
juce::MidiMessage makeFirmwareUpgradeRequestX (int pid, int length);

//==============================================================================
/** The loader's command frames: ten 55 bytes, 1D 03 00 49, the command, its
    parameter and a checksum. The sender fills in the parameter and the
    checksum before each send, on the message thread. */
constexpr int loaderFrameSize = 17;
constexpr int loaderCommandByte = 14;
constexpr int loaderParameterByte = 15;
constexpr int loaderChecksumByte = 16;

/** A write frame: the write header, 512 image bytes and the sum of the 529 bytes before it. */
constexpr int loaderBlockSize = 512;
constexpr int writeFrameSize = loaderFrameSize + loaderBlockSize + 1;

extern juce::uint8 midiConnect[loaderFrameSize];   // command 7F
extern juce::uint8 midiErase[loaderFrameSize];     // command 00, parameter: the erase code
extern juce::uint8 midiWrite[loaderFrameSize];     // command 01, parameter: the block number; checksum byte always 00
extern juce::uint8 midiReset[loaderFrameSize];     // command 02

/** The erase code of each product ID from 0 to 199 (70 or 71). */
extern const juce::uint8 erase15[200];

/** The erase code for any product ID; 70 outside the table. */
juce::uint8 eraseCodeFor (int pid);

/** The sum of the bytes modulo 256. */
juce::uint8 checksumOf (const juce::uint8* bytes, size_t numBytes);

/** Writes the sum of bytes 0 to 15 into the frame's checksum byte. */
void fillInChecksum (juce::uint8 (&frame)[loaderFrameSize]);

//==============================================================================
/** Waits while the message loop runs: slices of 100 ms, then the rest. */
void sleep_ms (int ms);

/** Tells every unit in upgrade mode to leave it: each upgrade-mode output is
    opened in turn and gets EF 7F 7F and the reset frame, 1 ms of message loop
    after each message; outputs that do not open are skipped. Then 50 ms of
    message loop. Nothing is awaited from the units. */
void resetUnitsInUpgradeMode();

} // namespace zuvo
