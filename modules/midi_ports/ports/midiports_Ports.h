namespace midiports
{

/** An open MIDI output port: the calls that the system makes on a
    juce::MidiOutput. Destroying it closes the port.
*/
class Output
{
public:
    virtual ~Output() = default;

    virtual juce::String getName() const = 0;

    /** Sends one message at once. */
    virtual void sendMessageNow (const juce::MidiMessage& message) = 0;

    /** Sends every message of the buffer at once, back to back. */
    virtual void sendBlockOfMessagesNow (const juce::MidiBuffer& buffer) = 0;
};

/** An open MIDI input port. Once started it delivers each incoming message to
    the juce::MidiInputCallback it was opened with, on a thread of its own (as
    the framework's MIDI input thread does). Inputs that are not the
    framework's pass nullptr as the callback's source. Destroying it stops and
    closes the port; no callback runs after the destructor has returned.
*/
class Input
{
public:
    virtual ~Input() = default;

    virtual juce::String getName() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
};

/** Where port lists come from and where ports are opened: the framework's
    MIDI classes, or an in-memory backend with simulated units.

    Port lists are names in the backend's order; ports are opened by their
    index in the list, as juce::MidiOutput::openDevice (int) does.
*/
class Backend
{
public:
    virtual ~Backend() = default;

    virtual juce::StringArray getOutputDevices() = 0;
    virtual juce::StringArray getInputDevices() = 0;

    /** Returns nullptr when the index is out of range or the port cannot be opened. */
    virtual std::unique_ptr<Output> openOutputDevice (int index) = 0;

    /** Returns nullptr when the index is out of range or the port cannot be opened. */
    virtual std::unique_ptr<Input> openInputDevice (int index, juce::MidiInputCallback* callback) = 0;
};

/** The backend in force. Unless setBackend() chose another, this is the
    framework's, or, when the environment variable VTR_SIMULATED_MIDI is set
    to 1, an in-memory backend hosting a simulated controller and extender.
*/
Backend& getBackend();

/** Puts a backend in force; nullptr goes back to the default of getBackend().
    Call it on the message thread while no port is open.
*/
void setBackend (std::shared_ptr<Backend> newBackend);

/** Shorthands for the backend in force, in the shape of the framework's calls. */
juce::StringArray getOutputDevices();
juce::StringArray getInputDevices();
std::unique_ptr<Output> openOutputDevice (int index);
std::unique_ptr<Input> openInputDevice (int index, juce::MidiInputCallback* callback);

} // namespace midiports
