namespace zuvo
{

/**
    The firmware loader's side of an upgrade: the unit's upgrade-mode port
    pair, the firmware image and the acknowledgement flags.

    sendProgram() streams the image to the unit's loader (connect, erase, one
    write frame per 512 bytes, reset), every frame byte as one nibble message,
    and waits for the unit's acknowledgements, writing the phase and the
    progress (0.8 to 1.0) into the wizard that owns it.

    Everything but handleIncomingMidiMessage() runs on the message thread; the
    MIDI input thread only sets the five atomic flags, which the message
    thread tests and clears.
*/
class FirmwareUpgradeComponent::MidiInputHandler : public juce::MidiInputCallback
{
public:
    /** A handler for the wizard and the product being upgraded, with no port and no image. */
    MidiInputHandler (FirmwareUpgradeComponent& wizard, int productId);
    ~MidiInputHandler() override;

    /** Opens the first input whose name equals this one ignoring case, with
        this handler as its callback, and starts it; and the first output whose
        name equals it exactly. A side whose name is not listed stays closed:
        the caller checks `input` and `output` afterwards. */
    void start (const juce::String& name);

    /** Stops and closes the input and closes the output; nothing when no input is open. */
    void stop();

    /** Forgets the image: the upload refuses to run without one. */
    void dropProgram();

    /** Reads the whole file as the image. An unreadable file leaves no image
        (programSize 0); a file of the refused size (2 MiB or more) is not
        read, only its size is kept, so that the upload refuses it. */
    void openProgram (const juce::File& file);

    /** The upload. Fails with the loader's message, see the .cpp file. */
    juce::Result sendProgram();

    //==============================================================================
    /** @internal Sets the flag of an acknowledgement (Note On on channel 16). */
    void handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage&) override;
    /** @internal */
    void handlePartialSysexMessage (juce::MidiInput*, const juce::uint8*, int, double) override {}

    //==============================================================================
    /** The image sizes that the loader takes: from 512 bytes to under 2 MiB. */
    static constexpr juce::uint64 minProgramSize = 512;
    static constexpr juce::uint64 maxProgramSize = 2 * 1024 * 1024 - 1;

    /** How many polls the upload waits for each acknowledgement. */
    static constexpr int maxCommandPolls = 150;
    static constexpr int maxBlockPolls = 300;

    /** The length of one poll of the acknowledgement waits. */
    static constexpr int pollMs = 33;

    FirmwareUpgradeComponent& owner;
    std::unique_ptr<midiports::Input> input;
    std::unique_ptr<midiports::Output> output;
    juce::File programFile;
    juce::HeapBlock<juce::uint8> programData;   // programSize bytes and a trailing 00
    juce::uint64 programSize = 0;
    int pid;

    std::atomic<bool> ackConnect { false }, ackErase { false }, ackWrite { false }, ackReset { false }, nak { false };

    /** Runs the message loop for a number of milliseconds: every pause, poll
        and 0 ms run of the upload goes through it. Tests replace it to watch
        the pacing or to shorten the polls. */
    std::function<void (int milliseconds)> runMessageLoop;

private:
    void clearFlags();
    void showPhase (const juce::String& caption);
    void showProgress (double sentUnits);
    void paceAfterCountedMessage();
    void sendCountedMessage (const juce::MidiMessage& message);
    void sendCommandFrame (const juce::uint8* frame);
    void sendWriteFrame (const juce::uint8* frame);
    bool waitFor (const std::atomic<bool>& flag, int maxPolls, const std::atomic<bool>* endEarly = nullptr);

    int pacingCounter = 0;
    juce::MidiBuffer block;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiInputHandler)
};

} // namespace zuvo
