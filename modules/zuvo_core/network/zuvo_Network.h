namespace zuvo
{

/**
    The firmware server and the test whether it answers.

    The server's base address ends in "/"; the catalogue documents and the
    firmware images live at paths under it. It is the build setting
    VTR_FIRMWARE_SERVER, unless the environment variable of the same name
    holds another address when the base is first asked for (for tests that
    run the program as a separate process), or setFirmwareServerBase() has
    put another one in force.

    Static members only; message thread only.
*/
class Network
{
public:
    /** Whether the server answers a GET request for the address with a 2xx
        status: up to three attempts of at most 2 s each, followed by 50 ms of
        message loop when they fail. Blocks the message thread meanwhile. */
    static bool canConnectToWebsite (const juce::URL& url);

    /** The base address of the firmware server, ending in "/". */
    static juce::String getFirmwareServerBase();

    /** Puts another base address in force (it should end in "/"); an empty
        one goes back to the default. */
    static void setFirmwareServerBase (const juce::String& newBase);
};

} // namespace zuvo
