#pragma once

#include <zuvo_firmware/zuvo_firmware.h>

#include <optional>

struct SimulatedStudio;

namespace gui_test
{

/** Clears the upgrader's process-wide modes when made and again when gone,
    so that no test inherits auto or series mode from another. */
struct ScopedUpgraderModes
{
    ScopedUpgraderModes();
    ~ScopedUpgraderModes();
};

/** A wizard in a dialog window of its own on the desktop (not modal), so a
    test can call its steps directly and read the window's title. The waits
    of the steps are shortened unless told otherwise. */
class WizardHost
{
public:
    WizardHost (int pid, bool online, double waitScale = 0.01);
    ~WizardHost();

    zuvo::FirmwareUpgradeComponent& wizard;

    juce::String getTitle() const;

    /** The texts of the step buttons that are enabled, in button order. */
    juce::StringArray enabledSteps() const;

    /** Deletes the window and the wizard (which resets units in upgrade mode). */
    void close();

    juce::DialogWindow& getWindow() const   { return *window; }

private:
    std::unique_ptr<juce::DialogWindow> window;
};

/** A folder of firmware images under the temporary folder, deleted afterwards. */
struct FirmwareFiles
{
    FirmwareFiles();
    ~FirmwareFiles();

    /** Writes imageOf (size) under this name. */
    juce::File write (const juce::String& name, int size) const;

    /** An image whose bytes differ from block to block. */
    static juce::MemoryBlock imageOf (int size);

    const juce::File folder;
};

/** The first child (at any depth) of this type whose text or name is the
    given one; nullptr when there is none. */
juce::Button* findButton (juce::Component& parent, const juce::String& text);
juce::ComboBox* findComboBox (juce::Component& parent);

/** In a device or firmware dialog: choose the item with this text (the
    current choice when empty) and click "OK". */
void chooseAndConfirm (juce::Component& dialogContent, const juce::String& itemText = {});

class ModalScript;
class AlertRecorder;

/** Queues the answer to the next "Choose Your Zuvo Device" dialog: choose the
    item (the preselected one when empty) and confirm. */
void answerDeviceDialog (ModalScript& script, const juce::String& itemText = {});

/** Runs steps 1 to 4 by hand, as a user clicks them, choosing the unit on
    this port and then the upgrade manager; step 4 takes the image that the
    wizard's chooseFile gives (or the server's, online). */
void loadImageByHand (WizardHost& host, ModalScript& script, const juce::String& port = "Vantor M+ MIDI 1");

/** Runs the five steps by hand, as a user clicks them, with the local
    firmware file given (the wizard must be in manual mode), answering the
    dialogs and then the box that step 5 shows under this title. */
void upgradeByHand (WizardHost& host, ModalScript& script, const juce::File& image,
                    const juce::String& resultTitle, const juce::String& port = "Vantor M+ MIDI 1");

/** Runs the wizard for the controller (product 156) online in auto mode from
    step 1, with the studio's simulated controller: the unit goes into
    upgrade mode, the catalogue and the first image it lists for the
    controller are downloaded, and the image is flashed. Then checks that it
    flashed this image and showed no box or, without an image, that it
    refused the download ("Could not download firmware file", answered with
    "OK") and that nothing reached the unit. */
void checkAutomaticOnlineUpgrade (SimulatedStudio& studio, ModalScript& script, AlertRecorder& alerts,
                                  const std::optional<juce::MemoryBlock>& flashedImage);

/** Writes a snapshot of the component as PNG into "screenshots" beside the
    test executable (the build folder); returns the file. */
juce::File saveSnapshot (juce::Component& component, const juce::String& name);

/** The top-most modal component is the wizard's window: its wizard, else nullptr. */
zuvo::FirmwareUpgradeComponent* wizardOnTop (juce::Component& topModal);

/** Runs an action every few milliseconds while the steps run the message loop. */
class WhileWaiting : private juce::Timer
{
public:
    explicit WhileWaiting (std::function<void()> action, int intervalMs = 3);
    ~WhileWaiting() override;

private:
    void timerCallback() override;

    std::function<void()> action;
};

/** Ends any alert box or dialog that stays on top for longer than the time
    given, and notes its title, so that a test that meets a box it did not
    expect fails instead of hanging. The wizard's own window is left alone. */
class ModalWatchdog : private juce::Timer
{
public:
    explicit ModalWatchdog (int patienceMs = 4000);
    ~ModalWatchdog() override;

    juce::StringArray dismissed;

private:
    void timerCallback() override;

    const int patienceMs;
    juce::Component::SafePointer<juce::Component> watched;
    juce::uint32 since = 0;
};

} // namespace gui_test
