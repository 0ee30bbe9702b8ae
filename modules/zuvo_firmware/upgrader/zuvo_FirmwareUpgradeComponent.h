// Process-wide modes of the upgrader (all false or 0 at program start).
extern bool bAuto;      // auto mode: each finished step starts the next one
extern bool bSerial;    // series mode: step 5 starts step 1 again for the next unit

namespace zuvo
{

extern bool bForAnyZuvo;          // any-product mode: step 1 accepts any product of the maker
extern bool bTest_fwug;           // test mode
extern bool bEsc;                 // abort request (Escape)
extern bool protectUiQ;           // an operation runs: the window may not close
extern int _num_UpgradeSuccess;   // upgrades that succeeded in auto mode

/** The firmware upgrade wizard: five numbered steps with their buttons and
    instructions, a progress bar and its caption, and the loader's MIDI
    handler. Runs on the message thread; the steps wait by running the
    message loop.
*/
class FirmwareUpgradeComponent : public juce::Component,
                                 public juce::Button::Listener
{
public:
    FirmwareUpgradeComponent (int pid, bool online);
    ~FirmwareUpgradeComponent() override;

    //==============================================================================
    void userTriedToCloseWindow() override;
    void paint (juce::Graphics&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void resized() override;
    void buttonClicked (juce::Button*) override;

    //==============================================================================
    void updateButtonEnablement();
    void protectUI (bool on);
    void updateProgress (int newStep);
    void SetTitle (juce::String text);
    void quit();
    void showAboutDlg();

    //==============================================================================
    /** The steps, as their buttons start them. In auto mode a finished step
        goes on with the next one (and step 5 with step 1 in series mode);
        these calls return when that chain has ended. While a step runs (its
        waits run the message loop, so clicks arrive) no other step starts.
    */
    void doStep1();
    void doStep2();
    void doStep3();
    void doStep4();
    void doStep5();

    /** Ends a successful step 1 for a product: records it, names it in the
        title and shows step 1 as done. The caller goes on with step 2 in auto
        mode. Returns true. */
    bool goonStep1 (int pid);

    /** Whether a firmware file name (without extension, lower case) fits the
        product; every name fits a product that the table does not know. */
    static bool isValidFmwName (juce::String name, unsigned pid);

    /** The shell command that opens the system's MIDI configuration utility,
        or an empty string where the system has none. */
    static juce::String deviceNameHelpCommand (juce::SystemStats::OperatingSystemType os);

    //==============================================================================
    /** What step 4 asks the file chooser for. */
    struct FileRequest
    {
        juce::String title;
        juce::File start;
        juce::String patterns;
    };

    /** Step 4's file chooser: returns the chosen file, or a default File when
        the user cancels. Runs a native chooser unless a test replaces it. */
    std::function<juce::File (const FileRequest&)> chooseFile;

    /** Runs the device-name help's shell command (the C library's system()
        unless a test replaces it). */
    std::function<void (const juce::String& command)> runShellCommand;

    /** Scales every wait of the steps (1.0: the real timing); tests shorten
        them. The loader's own pacing is not affected. */
    double waitScale = 1.0;

    //==============================================================================
    /** The loader's MIDI ports, image and acknowledgement flags; see
        zuvo_MidiInputHandler.h. */
    class MidiInputHandler;

    /** Sends the loader reset frame to every unit in upgrade mode; true when
        no upgrade-mode output is left afterwards. */
    static bool resetAllFwug0();

    /** How many names of the raw output (true) or input (false) list contain
        the text, case counting. */
    static int numberForDevice (juce::StringRef text, bool outputs);

    /** Position in the cleaned output or input list of the first name that
        contains the text (case counting); -1 when none. */
    static int indexForFirstDevice (juce::StringRef text, bool outputs);

    /** weight x (outputs containing "Zuvo firmware upgrade") + (outputs of the product). */
    static int getNumsOf_Fwug_and_Prod (int pid, int weight);

    /** The first name of the list whose product ID is pid; empty when none. */
    static juce::StringRef firstTargetNameByPid (int pid, const juce::StringArray& names);

    //==============================================================================
    const juce::String appName { "Zuvo Firmware Upgrader" };
    const juce::String appVersion { "1.57" };
    const juce::String copyrightYears;

    bool online;
    bool onlineDefault;
    juce::TooltipWindow tooltipWindow { nullptr, 700 };

    int pidForCatalogue = 2000;
    int currentPid;
    int wizardPid;

    juce::Label stepCaptions[5];
    juce::Label stepHeadings[5];
    juce::Label stepTexts[5];
    juce::TextButton stepButtons[5];
    juce::TextButton updateNameButton;
    juce::Label noteHeading;
    juce::Label noteText;
    juce::Label progressCaption;

    juce::CriticalSection lock;
    int step = -1;
    double progress = 0.0;
    juce::ProgressBar progressBar { progress };

    juce::String deviceName;
    juce::String upgradePortName;
    juce::File firmwareFile;
    int launchPid;
    juce::ValueTree firmwares;
    std::unique_ptr<MidiInputHandler> midiHandler;

private:
    /** What the step machine does next; each step returns it, and one loop
        runs step after step, so an auto chain or a series never nests. */
    enum class Next { nothing, step1, step2, step3, step4, step5 };

    void runSteps (Next first);
    Next runStep (Next which);
    Next connect();
    Next askToLeaveUpgradeMode();
    Next enterUpgradeMode();
    Next activate();
    Next loadFirmware();
    Next loadFromCatalogue();
    Next loadFromFile();
    Next download (const juce::URL& image);
    bool transfersStopped() const;      // Escape, the close button or a quit of the program
    Next imageLoaded();
    Next upgrade();

    juce::String titleBase() const;
    void setWindowTitle (const juce::String& title);
    int runStepDialog (const juce::String& title, juce::Component& content);
    void showDeviceNameHelp();
    void disableConnectAndEnter();
    MidiInputHandler& handler();
    void wait (int ms) const;
    void runLoop (int ms) const;

    Next runningStep = Next::nothing;   // the step that runs now
    bool transferCancelled = false;     // Escape or the close button during a step 4
    bool uploading = false;             // sendProgram() runs: no modal box may interrupt it
    bool closing = false;               // quit() has run: no further step starts

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareUpgradeComponent)
};

} // namespace zuvo
