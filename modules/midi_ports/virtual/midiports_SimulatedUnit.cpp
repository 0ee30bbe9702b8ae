namespace midiports
{

int nibbleByte (const juce::MidiMessage& message)
{
    const auto* data = message.getRawData();

    if (message.getRawDataSize() != 3 || data[0] != 0x9f || data[1] > 0x0f || data[2] > 0x0f)
        return -1;

    return (data[1] << 4) | data[2];
}

namespace
{
    bool hasBytes (const juce::MidiMessage& message, std::initializer_list<int> bytes)
    {
        if (message.getRawDataSize() != (int) bytes.size())
            return false;

        return std::equal (bytes.begin(), bytes.end(), message.getRawData());
    }

    juce::String hexOf (const juce::MidiMessage& message)
    {
        return juce::String::toHexString (message.getRawData(), message.getRawDataSize()).toUpperCase();
    }

    bool isSysexOfTheMaker (const juce::MidiMessage& message)
    {
        const auto* data = message.getRawData();
        return message.getRawDataSize() == 9 && data[0] == 0xf0 && data[1] == 0x1d && data[2] == 0x03 && data[8] == 0xf7;
    }

    int productIdOf (const juce::MidiMessage& message)
    {
        return (message.getRawData()[3] << 7) | message.getRawData()[4];
    }
}

//==============================================================================
/** Takes the normal-mode stream apart as the unit must: EF 7F 7F, the start
    message, 588 nibble messages, EF 7F 7F, 9E 7F 7F. */
class SimulatedUnit::StreamDecoder
{
public:
    explicit StreamDecoder (int pid) : productId (pid) {}

    void receive (const juce::MidiMessage& message)
    {
        const auto isExtra = hasBytes (message, { 0xef, 0x7f, 0x7f });

        switch (stage)
        {
            case Stage::idle:
                if (isExtra)
                    stage = Stage::start;
                else
                    errors.add ("Outside a mapping stream: " + hexOf (message));
                break;

            case Stage::start:
                if (takeStart (message))
                    stage = Stage::records;
                break;

            case Stage::records:
                if (const auto byte = nibbleByte (message); byte >= 0)
                    takeByte ((juce::uint8) byte);
                else
                    breakOff ("by " + hexOf (message));
                break;

            case Stage::closingExtra:
                if (isExtra)
                    stage = Stage::end;
                else
                    breakOff ("by " + hexOf (message) + " where EF 7F 7F belongs");
                break;

            case Stage::end:
                if (hasBytes (message, { 0x9e, 0x7f, 0x7f }))
                {
                    transfers.push_back (current);
                    stage = Stage::idle;
                }
                else
                {
                    breakOff ("by " + hexOf (message) + " where the end message belongs");
                }
                break;
        }
    }

    /** Drops the stream in progress; a stream that has begun its records is reported. */
    void breakOff (const juce::String& reason)
    {
        if (stage != Stage::idle && stage != Stage::start)
            errors.add ("Mapping stream broken off after " + juce::String (numBytes) + " of "
                        + juce::String (numRecords * recordSize) + " bytes " + reason);

        stage = Stage::idle;
    }

    std::vector<Transfer> transfers;
    juce::StringArray errors;

private:
    enum class Stage { idle, start, records, closingExtra, end };

    bool takeStart (const juce::MidiMessage& message)
    {
        stage = Stage::idle;

        if (! isSysexOfTheMaker (message) || message.getRawData()[7] != 0x7f)
        {
            errors.add ("No start message after EF 7F 7F: " + hexOf (message));
            return false;
        }

        const auto* data = message.getRawData();
        const int protocol = data[5], modeCode = data[6];
        const auto protocolFits = modeCode == 4 ? protocol <= 1 : protocol == (modeCode == 3 ? 1 : 0);

        if (productIdOf (message) != productId)
            errors.add ("Start message for product " + juce::String (productIdOf (message)) + ": " + hexOf (message));
        else if (modeCode < 1 || modeCode > 4 || ! protocolFits)
            errors.add ("Start message with protocol " + juce::String (protocol) + " and mode code "
                        + juce::String (modeCode) + ": " + hexOf (message));
        else
        {
            current = {};
            current.productId = productId;
            current.protocol = protocol;
            current.modeCode = modeCode;
            numBytes = 0;
            return true;
        }

        return false;
    }

    void takeByte (juce::uint8 byte)
    {
        current.records[(size_t) (numBytes / recordSize)][(size_t) (numBytes % recordSize)] = byte;

        if (++numBytes == numRecords * recordSize)
            stage = Stage::closingExtra;
    }

    const int productId;
    Stage stage = Stage::idle;
    Transfer current;
    int numBytes = 0;
};

//==============================================================================
const char* const SimulatedUnit::controllerPortName = "Vantor M+ MIDI 1";
const char* const SimulatedUnit::extenderPortName = "Vantor X+ MIDI 1";
const char* const SimulatedUnit::upgradePortName = "Zuvo firmware upgrade";

SimulatedUnit::SimulatedUnit (const juce::String& portName, int pid, const juce::String& upgradeModePortName)
    : productId (pid),
      decoder (std::make_unique<StreamDecoder> (pid)),
      normalOutput (std::make_shared<VirtualOutput> (portName, [this] (const auto& m) { receiveNormal (m); })),
      upgradeOutput (std::make_shared<VirtualOutput> (upgradeModePortName, [this] (const auto& m) { receiveUpgrade (m); })),
      normalInput (std::make_shared<VirtualInput> (portName)),
      upgradeInput (std::make_shared<VirtualInput> (upgradeModePortName))
{
    showPorts();
}

SimulatedUnit::~SimulatedUnit()
{
    const juce::ScopedLock sl (lock);
    pluggedIn = false;
    showPorts();
}

void SimulatedUnit::showPorts()
{
    normalOutput->setPluggedIn (pluggedIn && ! upgradeMode);
    normalInput->setPluggedIn (pluggedIn && ! upgradeMode);
    upgradeOutput->setPluggedIn (pluggedIn && upgradeMode);
    upgradeInput->setPluggedIn (pluggedIn && upgradeMode);
}

void SimulatedUnit::setPluggedIn (bool shouldBePluggedIn)
{
    const juce::ScopedLock sl (lock);

    if (! shouldBePluggedIn)
        decoder->breakOff ("by pulling the cable");

    pluggedIn = shouldBePluggedIn;
    upgradeMode = false;
    showPorts();
}

bool SimulatedUnit::isPluggedIn() const
{
    const juce::ScopedLock sl (lock);
    return pluggedIn;
}

bool SimulatedUnit::isInUpgradeMode() const
{
    const juce::ScopedLock sl (lock);
    return upgradeMode;
}

void SimulatedUnit::enterUpgradeMode()
{
    const juce::ScopedLock sl (lock);

    if (upgradeMode || ! pluggedIn)
        return;

    decoder->breakOff ("by the upgrade request");

    // A loader that has just asked to leave may still be on the stack, so the
    // old one is replaced only here, never from within its own call.
    loader = std::make_unique<SimulatedLoader> ([this] (const juce::MidiMessage& m) { upgradeInput->send (m); },
                                                [this] { leaveUpgradeMode(); });

    if (loaderSetup != nullptr)
        loaderSetup (*loader);

    upgradeMode = true;
    showPorts();
}

void SimulatedUnit::leaveUpgradeMode()
{
    const juce::ScopedLock sl (lock);

    // Answers already sent leave the port before it disappears, as on a cable.
    upgradeInput->waitUntilDelivered();
    upgradeMode = false;
    showPorts();
}

void SimulatedUnit::setRefusesUpgradeMode (bool shouldRefuse)
{
    const juce::ScopedLock sl (lock);
    refusesUpgradeMode = shouldRefuse;
}

void SimulatedUnit::setLoaderSetup (std::function<void (SimulatedLoader&)> setup)
{
    const juce::ScopedLock sl (lock);
    loaderSetup = std::move (setup);
}

std::vector<SimulatedUnit::Transfer> SimulatedUnit::getTransfers() const
{
    const juce::ScopedLock sl (lock);
    return decoder->transfers;
}

juce::StringArray SimulatedUnit::getErrors() const
{
    const juce::ScopedLock sl (lock);
    return decoder->errors;
}

void SimulatedUnit::clearHistory()
{
    const juce::ScopedLock sl (lock);
    normalOutput->clearArrivals();
    upgradeOutput->clearArrivals();
    decoder = std::make_unique<StreamDecoder> (productId);
}

bool SimulatedUnit::isUpgradeRequest (const juce::MidiMessage& message) const
{
    const auto* data = message.getRawData();
    return isSysexOfTheMaker (message) && data[5] == 0x00 && data[6] == 0x7f && (data[7] == 0x7f || data[7] == 0x7e);
}

void SimulatedUnit::receiveNormal (const juce::MidiMessage& message)
{
    const juce::ScopedLock sl (lock);

    if (! isUpgradeRequest (message))
        decoder->receive (message);
    else if (productIdOf (message) == productId && ! refusesUpgradeMode)
        enterUpgradeMode();
    else
        decoder->breakOff ("by an upgrade request");   // for another product, or refused
}

void SimulatedUnit::receiveUpgrade (const juce::MidiMessage& message)
{
    const juce::ScopedLock sl (lock);

    if (upgradeMode && loader != nullptr)
        loader->receive (message);
}

} // namespace midiports
