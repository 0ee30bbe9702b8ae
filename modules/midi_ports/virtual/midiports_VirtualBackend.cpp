namespace midiports
{

//==============================================================================
VirtualPort::VirtualPort (const juce::String& portName) : name (portName) {}

void VirtualPort::setPluggedIn (bool shouldBePluggedIn)
{
    if (shouldBePluggedIn == isPluggedIn())
        return;

    connection = shouldBePluggedIn ? ++lastConnection : 0;
}

//==============================================================================
VirtualOutput::VirtualOutput (const juce::String& portName, Handler h)
    : VirtualPort (portName), handler (std::move (h))
{
    setPluggedIn (true);
}

std::vector<Arrival> VirtualOutput::getArrivals() const
{
    const juce::ScopedLock sl (lock);
    return arrivals;
}

void VirtualOutput::clearArrivals()
{
    const juce::ScopedLock sl (lock);
    arrivals.clear();
    numBlocks = 0;
}

void VirtualOutput::record (const juce::MidiMessage& message, double timeMs, int block)
{
    const juce::ScopedLock sl (lock);
    arrivals.push_back ({ message, timeMs, block });
}

void VirtualOutput::receive (const juce::MidiMessage& message)
{
    record (message, juce::Time::getMillisecondCounterHiRes(), -1);

    if (handler != nullptr)
        handler (message);
}

void VirtualOutput::receive (const juce::MidiBuffer& block)
{
    const auto timeMs = juce::Time::getMillisecondCounterHiRes();
    int blockNumber = 0;

    {
        const juce::ScopedLock sl (lock);
        blockNumber = numBlocks++;
    }

    for (const auto metadata : block)
        record (metadata.getMessage(), timeMs, blockNumber);

    if (handler != nullptr)
        for (const auto metadata : block)
            handler (metadata.getMessage());
}

//==============================================================================
class VirtualInput::DeliveryThread final : public juce::Thread
{
public:
    explicit DeliveryThread (VirtualInput& o) : juce::Thread ("virtual MIDI input"), owner (o) {}

    ~DeliveryThread() override
    {
        signalThreadShouldExit();
        notify();
        stopThread (2000);
    }

    void run() override
    {
        while (! threadShouldExit())
        {
            wait (-1);
            owner.deliverPending();
        }
    }

private:
    VirtualInput& owner;
};

VirtualInput::VirtualInput (const juce::String& portName) : VirtualPort (portName)
{
    setPluggedIn (true);
    idle.signal();
}

VirtualInput::~VirtualInput()
{
    thread.reset();
}

void VirtualInput::send (const juce::MidiMessage& message)
{
    if (! isPluggedIn())
        return;

    const juce::ScopedLock sl (queueLock);

    if (thread == nullptr)
    {
        thread = std::make_unique<DeliveryThread> (*this);
        thread->startThread();
    }

    juce::MidiMessage stamped (message);
    stamped.setTimeStamp (juce::Time::getMillisecondCounterHiRes() * 0.001);
    pending.push_back (stamped);
    idle.reset();
    thread->notify();
}

void VirtualInput::waitUntilDelivered()
{
    idle.wait (-1);
}

void VirtualInput::deliverPending()
{
    for (;;)
    {
        juce::MidiMessage message;

        {
            const juce::ScopedLock sl (queueLock);

            if (pending.empty())
            {
                idle.signal();
                return;
            }

            message = pending.front();
            pending.pop_front();
        }

        const juce::ScopedLock sl (listenerLock);
        const auto current = getConnection();

        // By index: a callback may close its own input, which removes it here.
        for (size_t i = 0; i < listeners.size(); ++i)
            if (listeners[i]->started && current != 0 && listeners[i]->connection == current)
                listeners[i]->callback->handleIncomingMidiMessage (nullptr, message);
    }
}

void VirtualInput::addListener (Listener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.push_back (listener);
}

void VirtualInput::removeListener (Listener* listener)
{
    const juce::ScopedLock sl (listenerLock);
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

void VirtualInput::setStarted (Listener* listener, bool shouldBeStarted)
{
    const juce::ScopedLock sl (listenerLock);
    listener->started = shouldBeStarted;
}

//==============================================================================
namespace
{
    /** An output opened on a port of the in-memory backend. */
    class OpenVirtualOutput final : public Output
    {
    public:
        explicit OpenVirtualOutput (const std::shared_ptr<VirtualOutput>& p)
            : port (p), name (p->getName()), connection (p->getConnection()) {}

        juce::String getName() const override   { return name; }

        void sendMessageNow (const juce::MidiMessage& message) override
        {
            if (auto p = livePort())
                p->receive (message);
        }

        void sendBlockOfMessagesNow (const juce::MidiBuffer& block) override
        {
            if (auto p = livePort())
                p->receive (block);
        }

    private:
        std::shared_ptr<VirtualOutput> livePort() const
        {
            auto p = port.lock();
            return p != nullptr && p->getConnection() == connection ? p : nullptr;
        }

        const std::weak_ptr<VirtualOutput> port;
        const juce::String name;
        const int connection;
    };

    /** An input opened on a port of the in-memory backend. */
    class OpenVirtualInput final : public Input
    {
    public:
        OpenVirtualInput (const std::shared_ptr<VirtualInput>& p, juce::MidiInputCallback* callback)
            : port (p), name (p->getName())
        {
            listener.callback = callback;
            listener.connection = p->getConnection();
            p->addListener (&listener);
        }

        ~OpenVirtualInput() override
        {
            if (auto p = port.lock())
                p->removeListener (&listener);
        }

        juce::String getName() const override   { return name; }
        void start() override                   { setStarted (true); }
        void stop() override                    { setStarted (false); }

    private:
        void setStarted (bool shouldBeStarted)
        {
            if (auto p = port.lock())
                p->setStarted (&listener, shouldBeStarted);
        }

        const std::weak_ptr<VirtualInput> port;
        const juce::String name;
        VirtualInput::Listener listener;
    };

    template <typename PortType>
    std::shared_ptr<PortType> pluggedInAt (const std::vector<std::shared_ptr<PortType>>& ports, int index)
    {
        for (const auto& port : ports)
            if (port->isPluggedIn() && index-- == 0)
                return port;

        return {};
    }

    template <typename PortType>
    juce::StringArray namesOfPluggedIn (const std::vector<std::shared_ptr<PortType>>& ports)
    {
        juce::StringArray names;

        for (const auto& port : ports)
            if (port->isPluggedIn())
                names.add (port->getName());

        return names;
    }
}

//==============================================================================
VirtualBackend::VirtualBackend() = default;
VirtualBackend::~VirtualBackend() = default;

std::shared_ptr<VirtualOutput> VirtualBackend::addOutput (const juce::String& name)
{
    auto port = std::make_shared<VirtualOutput> (name);
    const juce::ScopedLock sl (lock);
    outputs.push_back (port);
    return port;
}

std::shared_ptr<VirtualInput> VirtualBackend::addInput (const juce::String& name)
{
    auto port = std::make_shared<VirtualInput> (name);
    const juce::ScopedLock sl (lock);
    inputs.push_back (port);
    return port;
}

std::shared_ptr<VirtualBackend> VirtualBackend::withStandardUnits()
{
    auto backend = std::make_shared<VirtualBackend>();
    backend->addUnit (SimulatedUnit::controllerPortName, SimulatedUnit::controllerId);
    backend->addUnit (SimulatedUnit::extenderPortName, SimulatedUnit::extenderId);
    return backend;
}

SimulatedUnit& VirtualBackend::addUnit (const juce::String& portName, int productId,
                                        const juce::String& upgradeModePortName)
{
    auto unit = std::make_unique<SimulatedUnit> (portName, productId,
                                                 upgradeModePortName.isEmpty() ? juce::String (SimulatedUnit::upgradePortName)
                                                                               : upgradeModePortName);
    const juce::ScopedLock sl (lock);

    for (auto& port : unit->getOutputs())
        outputs.push_back (port);

    for (auto& port : unit->getInputs())
        inputs.push_back (port);

    units.push_back (std::move (unit));
    return *units.back();
}

SimulatedUnit& VirtualBackend::getUnit (int index) const
{
    const juce::ScopedLock sl (lock);
    jassert (juce::isPositiveAndBelow (index, (int) units.size()));
    return *units[(size_t) index];
}

void VirtualBackend::setOpenFails (const juce::String& portName, bool shouldFail)
{
    const juce::ScopedLock sl (lock);

    if (shouldFail)
        failingNames.addIfNotAlreadyThere (portName);
    else
        failingNames.removeString (portName);
}

bool VirtualBackend::opensFail (const juce::String& name) const
{
    const juce::ScopedLock sl (lock);
    return failingNames.contains (name);
}

juce::StringArray VirtualBackend::getOutputDevices()
{
    const juce::ScopedLock sl (lock);
    return namesOfPluggedIn (outputs);
}

juce::StringArray VirtualBackend::getInputDevices()
{
    const juce::ScopedLock sl (lock);
    return namesOfPluggedIn (inputs);
}

std::unique_ptr<Output> VirtualBackend::openOutputDevice (int index)
{
    const juce::ScopedLock sl (lock);
    auto port = pluggedInAt (outputs, index);

    if (port == nullptr || opensFail (port->getName()))
        return {};

    return std::make_unique<OpenVirtualOutput> (port);
}

std::unique_ptr<Input> VirtualBackend::openInputDevice (int index, juce::MidiInputCallback* callback)
{
    const juce::ScopedLock sl (lock);
    auto port = pluggedInAt (inputs, index);

    if (port == nullptr || callback == nullptr || opensFail (port->getName()))
        return {};

    return std::make_unique<OpenVirtualInput> (port, callback);
}

} // namespace midiports
