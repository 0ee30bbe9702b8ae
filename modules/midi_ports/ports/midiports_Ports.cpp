namespace midiports
{

namespace
{
    class FrameworkOutput final : public Output
    {
    public:
        explicit FrameworkOutput (std::unique_ptr<juce::MidiOutput> o) : output (std::move (o)) {}

        juce::String getName() const override                              { return output->getName(); }
        void sendMessageNow (const juce::MidiMessage& m) override          { output->sendMessageNow (m); }
        void sendBlockOfMessagesNow (const juce::MidiBuffer& b) override   { output->sendBlockOfMessagesNow (b); }

    private:
        std::unique_ptr<juce::MidiOutput> output;
    };

    class FrameworkInput final : public Input
    {
    public:
        explicit FrameworkInput (std::unique_ptr<juce::MidiInput> i) : input (std::move (i)) {}

        juce::String getName() const override   { return input->getName(); }
        void start() override                   { input->start(); }
        void stop() override                    { input->stop(); }

    private:
        std::unique_ptr<juce::MidiInput> input;
    };

    juce::StringArray namesOf (const juce::Array<juce::MidiDeviceInfo>& devices)
    {
        juce::StringArray names;

        for (const auto& d : devices)
            names.add (d.name);

        return names;
    }

    /** The framework's MIDI classes; ports are opened by their index in the
        list, through the identifier at that index. */
    class FrameworkBackend final : public Backend
    {
    public:
        juce::StringArray getOutputDevices() override   { return namesOf (juce::MidiOutput::getAvailableDevices()); }
        juce::StringArray getInputDevices() override    { return namesOf (juce::MidiInput::getAvailableDevices()); }

        std::unique_ptr<Output> openOutputDevice (int index) override
        {
            const auto devices = juce::MidiOutput::getAvailableDevices();

            if (! juce::isPositiveAndBelow (index, devices.size()))
                return {};

            if (auto output = juce::MidiOutput::openDevice (devices[index].identifier))
                return std::make_unique<FrameworkOutput> (std::move (output));

            return {};
        }

        std::unique_ptr<Input> openInputDevice (int index, juce::MidiInputCallback* callback) override
        {
            const auto devices = juce::MidiInput::getAvailableDevices();

            if (! juce::isPositiveAndBelow (index, devices.size()))
                return {};

            if (auto input = juce::MidiInput::openDevice (devices[index].identifier, callback))
                return std::make_unique<FrameworkInput> (std::move (input));

            return {};
        }
    };

    std::shared_ptr<Backend> createDefaultBackend()
    {
        if (juce::SystemStats::getEnvironmentVariable ("VTR_SIMULATED_MIDI", {}) == "1")
            return VirtualBackend::withStandardUnits();

        return std::make_shared<FrameworkBackend>();
    }

    std::shared_ptr<Backend>& backendInForce()
    {
        static std::shared_ptr<Backend> backend;
        return backend;
    }
}

Backend& getBackend()
{
    auto& backend = backendInForce();

    if (backend == nullptr)
        backend = createDefaultBackend();

    return *backend;
}

void setBackend (std::shared_ptr<Backend> newBackend)
{
    backendInForce() = std::move (newBackend);
}

ScopedBackend::ScopedBackend (std::shared_ptr<Backend> backendToUse)
    : previous (backendInForce())
{
    setBackend (std::move (backendToUse));
}

ScopedBackend::~ScopedBackend()
{
    setBackend (std::move (previous));
}

juce::StringArray getOutputDevices()    { return getBackend().getOutputDevices(); }
juce::StringArray getInputDevices()     { return getBackend().getInputDevices(); }

std::unique_ptr<Output> openOutputDevice (int index)
{
    return getBackend().openOutputDevice (index);
}

std::unique_ptr<Input> openInputDevice (int index, juce::MidiInputCallback* callback)
{
    return getBackend().openInputDevice (index, callback);
}

} // namespace midiports
