#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

#include "ContentComponent.h"
#include "ControllerMap.h"
#include "ModalScript.h"

namespace gui_test
{

/** Puts the device object and the editor's view state back where a fresh start
    leaves them: the five factory maps, "mackie" current, no MIDI output chosen,
    no user-defined protocol chosen yet, the controller view, zoom state 0 and
    the left jog half. The first call points the settings file at a temporary
    folder, before the device object exists.
*/
void resetEditorWorld();

/** The four bytes of a slot record of an MCP slot table (cb, lg or nd). */
std::array<int, 4> slotRecordOf (int mode, int slot);

/** The texts of a combo box's items, in order. */
juce::StringArray itemTextsOf (const juce::ComboBox&);

/** The first button below this component whose text is this one, or nullptr. */
juce::Button* findButtonWithText (juce::Component& parent, const juce::String& text);

/** Writes this map into a new mapping file (XML) and gives its path. */
juce::File writeMappingFile (const juce::File& folder, const juce::String& name, const juce::XmlElement& map);

//==============================================================================
/**
    The content component of the main window on a known device, with handles on
    its children (found by child index, in the order in which the component adds
    them) and the user's actions on them.

    The file chooser is replaced by `nextChosenFile`: an invalid File stands for
    a cancelled dialog.
*/
class EditorUnderTest
{
public:
    EditorUnderTest();
    ~EditorUnderTest();

    enum Child
    {
        mixerSection, controlSection,
        ptclLabel, ptclBox, modeLabel, modeBox, funcLabel, funcBox, chanLabel, chanBox,
        msgTypeLabel, msgTypeBox, rotationLabel, rotationBox,
        saveFileButton, loadFileButton, sendDataButton, firmwareUpgradeButton, connectDeviceButton,
        numChildren
    };

    juce::Component& child (Child);
    juce::Label& label (Child);
    MapComboBox& box (Child);
    CtModeComboBox& modes();
    CtPtclComboBox& protocols();
    juce::Button& command (Child);
    ControlSection& controls();

    /** The mappable button now bound to this control id, or nullptr. */
    MappableButton* buttonFor (int cid);

    /** Clicks the mappable button of this control id as the user does and waits
        until the click has been handled; false when no button shows the id. */
    bool click (int cid);

    /** Clicks a button as the user does and waits until the click has been handled. */
    void click (juce::Button&);

    /** Chooses an item of a box by item id, as the user does. */
    void choose (juce::ComboBox&, int itemId);

    /** Makes a mode current through the mode box (and the protocol box for "usrdef-hui"). */
    void switchToMode (int mode);

    /** The control tree of an id in the current map. */
    juce::ValueTree controlTree (int cid) const;

private:
    struct WorldReset { WorldReset() { resetEditorWorld(); } } worldReset;

public:
    ContentComponent content;
    juce::File nextChosenFile;
    int numFileDialogs = 0;
    bool lastDialogWasForSaving = false;
};

//==============================================================================
/** Shows the output at this index of the picker's list, as the user chooses it. */
void showOutputInPicker (juce::Component& picker, int outputIndex);

/** Clicks "Connect", shows the output at this index of the picker's list and
    ends the picker with its "Connect" button. */
void connectThroughPicker (EditorUnderTest&, int outputIndex);

/** Clicks "Send Data" and closes the result box with "OK"; gives the box as the
    recorder saw it, or an empty record when no box was modal once the click had
    returned. */
AlertRecord sendThroughEditor (EditorUnderTest&, AlertRecorder&);

/** Clicks this command button and closes the result box that it leaves with
    "OK", as sendThroughEditor() does for "Send Data". */
AlertRecord clickAndCloseResultBox (EditorUnderTest&, AlertRecorder&, EditorUnderTest::Child command);

} // namespace gui_test
