namespace midiports
{

class SimulatedUnit;

//==============================================================================
/** A port of the in-memory backend: a name, and whether it is plugged in.

    Only plugged-in ports show in the backend's lists. Pulling a port out
    kills every port opened on it: they stay open but deliver nothing, even
    after the port is plugged in again (as with a real cable).
*/
class VirtualPort
{
public:
    explicit VirtualPort (const juce::String& portName);
    virtual ~VirtualPort() = default;

    const juce::String& getName() const noexcept     { return name; }

    void setPluggedIn (bool shouldBePluggedIn);
    bool isPluggedIn() const noexcept                 { return connection.load() != 0; }

    /** A number that changes at every plug-in; 0 while pulled out. A port
        opened under one number delivers only while it is still current. */
    int getConnection() const noexcept                { return connection.load(); }

private:
    const juce::String name;
    std::atomic<int> connection { 0 };
    int lastConnection = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualPort)
};

//==============================================================================
/** One message as an output port of the in-memory backend received it. */
struct Arrival
{
    juce::MidiMessage message;

    /** juce::Time::getMillisecondCounterHiRes() when it arrived. */
    double timeMs = 0.0;

    /** -1 when it was sent alone (sendMessageNow); otherwise the number of its
        block (sendBlockOfMessagesNow) on this port, counting from 0. */
    int block = -1;
};

/** The receiving end of an output port of the in-memory backend.

    It records every message that it gets, then hands it to its handler (the
    unit behind the port; a plain port has none). Sends arrive on the sending
    thread; the record is guarded, so it can be read from any thread.
*/
class VirtualOutput final : public VirtualPort
{
public:
    using Handler = std::function<void (const juce::MidiMessage&)>;

    explicit VirtualOutput (const juce::String& portName, Handler handler = {});

    std::vector<Arrival> getArrivals() const;
    void clearArrivals();

    /** Called by the open ports of the backend. */
    void receive (const juce::MidiMessage& message);
    void receive (const juce::MidiBuffer& block);

private:
    void record (const juce::MidiMessage&, double timeMs, int block);

    const Handler handler;
    juce::CriticalSection lock;
    std::vector<Arrival> arrivals;
    int numBlocks = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualOutput)
};

//==============================================================================
/** The sending end of an input port of the in-memory backend.

    send() queues a message; the port's own thread delivers it to every
    started input opened on the port, through the juce::MidiInputCallback it
    was opened with (with nullptr as the source), as the framework's MIDI input
    thread does. Messages sent while the port is pulled out are dropped.
*/
class VirtualInput final : public VirtualPort
{
public:
    explicit VirtualInput (const juce::String& portName);
    ~VirtualInput() override;

    /** Safe to call from any thread. */
    void send (const juce::MidiMessage& message);

    /** Blocks until every message sent so far has been delivered (or dropped). */
    void waitUntilDelivered();

    //==============================================================================
    /** @internal An input opened on this port. */
    struct Listener
    {
        juce::MidiInputCallback* callback = nullptr;
        int connection = 0;
        bool started = false;
    };

    /** @internal */
    void addListener (Listener*);
    /** @internal Returns only when no callback of the listener is running. */
    void removeListener (Listener*);
    /** @internal */
    void setStarted (Listener*, bool shouldBeStarted);

private:
    class DeliveryThread;
    void deliverPending();

    juce::CriticalSection queueLock, listenerLock;
    std::deque<juce::MidiMessage> pending;
    juce::WaitableEvent idle { true };
    std::vector<Listener*> listeners;
    std::unique_ptr<DeliveryThread> thread;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualInput)
};

//==============================================================================
/** A MIDI backend that lives in memory: plain ports that tests set up and
    read, and simulated units (see SimulatedUnit).

    The lists show the plugged-in ports in the order they were added. Opening
    a port whose name was passed to setOpenFails() gives nullptr, like a port
    that the system cannot open.

    Set it up on the message thread before it is put in force with
    midiports::setBackend(); units may then switch their ports from any thread.
*/
class VirtualBackend final : public Backend
{
public:
    VirtualBackend();
    ~VirtualBackend() override;

    /** Adds a plugged-in output port that only records what it gets. Names may repeat. */
    std::shared_ptr<VirtualOutput> addOutput (const juce::String& name);

    /** Adds a plugged-in input port; send() on it reaches whoever opened it. */
    std::shared_ptr<VirtualInput> addInput (const juce::String& name);

    /** A backend hosting a simulated controller (unit 0, "Vantor M+ MIDI 1")
        and a simulated extender (unit 1, "Vantor X+ MIDI 1"). */
    static std::shared_ptr<VirtualBackend> withStandardUnits();

    /** Hosts a unit, which shows its own ports; see SimulatedUnit. The name of
        its upgrade-mode ports defaults to "Zuvo firmware upgrade". */
    SimulatedUnit& addUnit (const juce::String& portName, int productId,
                            const juce::String& upgradeModePortName = {});

    /** The units in the order they were added. */
    SimulatedUnit& getUnit (int index) const;

    /** Makes opening any port of this exact name fail, or work again. */
    void setOpenFails (const juce::String& portName, bool shouldFail = true);

    //==============================================================================
    /** @internal */
    juce::StringArray getOutputDevices() override;
    /** @internal */
    juce::StringArray getInputDevices() override;
    /** @internal */
    std::unique_ptr<Output> openOutputDevice (int index) override;
    /** @internal */
    std::unique_ptr<Input> openInputDevice (int index, juce::MidiInputCallback* callback) override;

private:
    bool opensFail (const juce::String& name) const;

    // The units come first so that they outlive the lists that share their ports.
    std::vector<std::unique_ptr<SimulatedUnit>> units;
    juce::CriticalSection lock;
    std::vector<std::shared_ptr<VirtualOutput>> outputs;
    std::vector<std::shared_ptr<VirtualInput>> inputs;
    juce::StringArray failingNames;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VirtualBackend)
};

//==============================================================================
/** Puts a backend in force for its lifetime, then puts back the one in force
    before. Message thread, while no port is open.
*/
class ScopedBackend
{
public:
    explicit ScopedBackend (std::shared_ptr<Backend> backendToUse);
    ~ScopedBackend();

private:
    std::shared_ptr<Backend> previous;

    JUCE_DECLARE_NON_COPYABLE (ScopedBackend)
};

} // namespace midiports
