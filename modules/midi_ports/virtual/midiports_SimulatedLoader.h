namespace midiports
{

/** The firmware loader of a simulated unit in upgrade mode.

    The simulated unit hands it every message that arrives on its
    upgrade-mode port; the loader decodes the nibble messages into frames,
    checks each frame, answers through `reply` (the unit sends that message
    from its upgrade-mode input, on the input's own thread) and calls
    `leaveUpgradeMode` when it has taken the reset frame.

    Frames: ten 55 bytes, 1D 03 00 49, the command (7F connect, 00 erase,
    01 write, 02 reset), a parameter and a checksum; a write frame carries
    512 image bytes after that header and their sum after them. Command
    frames must follow EF 7F 7F, write frames must not. Every frame is
    checked (fixed bytes, length, checksums, order, block numbers); a bad one
    is listed in getErrors() and answered with a nak (velocity 7F), a good
    one with 9F and its command as the note. The blocks of good write frames
    make up the received image.

    Faults are set before the loader takes its first message (see
    SimulatedUnit::setLoaderSetup). The record can be read from any thread.
*/
class SimulatedLoader
{
public:
    using Reply = std::function<void (const juce::MidiMessage&)>;

    SimulatedLoader (Reply reply, std::function<void()> leaveUpgradeMode);
    ~SimulatedLoader();

    /** Called for every message that the upgrade-mode output receives. */
    void receive (const juce::MidiMessage& message);

    //==============================================================================
    /** The frame commands, which are also the notes of the answers. */
    enum Command { connect = 0x7f, erase = 0x00, write = 0x01, reset = 0x02 };

    /** Fault: the loader takes frames of this command without answering them. */
    void setSilentOn (Command command, bool shouldBeSilent = true);

    /** Fault: the loader takes the write frame of this block (0 the first of
        the upload) without answering it. */
    void setSilentOnBlock (int blockIndex);

    /** Fault: the reset frame is answered with a nak. */
    void setNakOnReset (bool shouldNak = true);

    /** Fault: the unit stays in upgrade mode after the reset frame. */
    void setStaysAfterReset (bool shouldStay = true);

    //==============================================================================
    /** One frame as the loader took it. */
    struct Frame
    {
        int command = -1;
        int parameter = -1;
        bool afterPrefix = false;   // EF 7F 7F came right before it
        bool valid = false;
    };

    std::vector<Frame> getFrames() const;

    /** The 512-byte blocks of the valid write frames, in order. */
    juce::MemoryBlock getReceivedImage() const;

    /** What was malformed or out of order, in order of arrival. */
    juce::StringArray getErrors() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedLoader)
};

} // namespace midiports
