namespace midiports
{

/** The payload byte of a nibble message (9F, high nibble, low nibble), or -1
    when the message is not one. */
int nibbleByte (const juce::MidiMessage& message);


/** A Vantor controller or extender as its MIDI ports show it, hosted by a
    VirtualBackend.

    In normal mode it shows an output and an input with its port name (e.g.
    "Vantor M+ MIDI 1") and takes mapping streams the way the unit must: the
    nibble messages become bytes again, and EF 7F 7F, the start message, the
    98 six-byte records, EF 7F 7F and the end message 9E 7F 7F must come in this
    order. A complete stream becomes a Transfer; anything malformed or out of
    order is listed in getErrors() and drops the stream in progress.

    The upgrade request (F0 1D 03, its own product ID, 00 7F or 7E, 7F F7) puts
    it into upgrade mode: its normal ports disappear and an upgrade-mode pair
    (named "Zuvo firmware upgrade" unless told otherwise) appears instead. A
    new SimulatedLoader then takes every message sent to that output; its
    replies leave through the upgrade-mode input, on that input's thread. When
    the loader leaves upgrade mode the normal ports come back.

    Every message that reaches either output is recorded with its arrival time
    and block. The record, the decoded streams and the mode can be read from
    any thread.
*/
class SimulatedUnit
{
public:
    static constexpr int controllerId = 156;
    static constexpr int extenderId = 161;
    static constexpr int numRecords = 98;
    static constexpr int recordSize = 6;

    /** The names under which the standard units show their normal ports. */
    static const char* const controllerPortName;   // "Vantor M+ MIDI 1"
    static const char* const extenderPortName;     // "Vantor X+ MIDI 1"
    static const char* const upgradePortName;      // "Zuvo firmware upgrade"

    /** A complete mapping stream as the unit decoded it. */
    struct Transfer
    {
        int productId = 0;
        int protocol = 0;    // byte 6 of the start message
        int modeCode = 0;    // byte 7 of the start message
        std::array<std::array<juce::uint8, recordSize>, numRecords> records {};   // records[0] is position 1
    };

    SimulatedUnit (const juce::String& portName, int productId,
                   const juce::String& upgradeModePortName = upgradePortName);
    ~SimulatedUnit();

    const juce::String& getPortName() const noexcept        { return normalOutput->getName(); }
    const juce::String& getUpgradePortName() const noexcept  { return upgradeOutput->getName(); }
    int getProductId() const noexcept                        { return productId; }

    //==============================================================================
    /** Pulls the unit's cable (every port disappears; open ones go dead) or plugs
        it back in, in normal mode. */
    void setPluggedIn (bool shouldBePluggedIn);
    bool isPluggedIn() const;

    bool isInUpgradeMode() const;

    /** Switches to upgrade mode as the upgrade request does (but also when the
        unit refuses the request), or back to normal mode. */
    void enterUpgradeMode();
    void leaveUpgradeMode();

    /** Fault: the unit ignores the upgrade request. */
    void setRefusesUpgradeMode (bool shouldRefuse);

    /** Called with every loader the unit creates, before it takes its first
        message: the place to set the loader's faults. */
    void setLoaderSetup (std::function<void (SimulatedLoader&)> setup);

    //==============================================================================
    /** What reached the normal output, and the upgrade-mode output. */
    std::vector<Arrival> getArrivals() const        { return normalOutput->getArrivals(); }
    std::vector<Arrival> getUpgradeArrivals() const { return upgradeOutput->getArrivals(); }

    /** Mapping streams decoded so far, oldest first. */
    std::vector<Transfer> getTransfers() const;

    /** What was malformed or out of order, in order of arrival. */
    juce::StringArray getErrors() const;

    /** Forgets every arrival, transfer and error. */
    void clearHistory();

    //==============================================================================
    /** @internal The ports, for the backend's lists. */
    std::vector<std::shared_ptr<VirtualOutput>> getOutputs() const  { return { normalOutput, upgradeOutput }; }
    /** @internal */
    std::vector<std::shared_ptr<VirtualInput>> getInputs() const    { return { normalInput, upgradeInput }; }

private:
    class StreamDecoder;

    void receiveNormal (const juce::MidiMessage&);
    void receiveUpgrade (const juce::MidiMessage&);
    bool isUpgradeRequest (const juce::MidiMessage&) const;
    void showPorts();

    const int productId;
    juce::CriticalSection lock;
    bool pluggedIn = true, upgradeMode = false, refusesUpgradeMode = false;
    std::function<void (SimulatedLoader&)> loaderSetup;
    std::unique_ptr<SimulatedLoader> loader;
    std::unique_ptr<StreamDecoder> decoder;

    std::shared_ptr<VirtualOutput> normalOutput, upgradeOutput;
    std::shared_ptr<VirtualInput> normalInput, upgradeInput;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimulatedUnit)
};

} // namespace midiports
