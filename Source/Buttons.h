#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "Shared.h"

//==============================================================================
/** Constant tables that only the editor reads. */
extern const char PtclName[2][4];        // protocol box items: "MCP", "HUI"
extern const char msgTypes[4][20];       // message-type box items
extern const char velos[2][23];          // rotation box items (data 2 = 64 and 127)
extern const int modIdForSel[8];         // mode box index to CtMode
extern const int zomjog2cid[4][2];       // control ids of the left and right jog half per zoom state

//==============================================================================
/** The index of a control in the slot tables (its slot - 1) or, in "usrdef-hui"
    for every kind but knobs and faders, its HUI button index (0 to 69 for the
    buttons, 79 and 78 for the jog halves 73 and 74).

    Gives -1 for an id outside 0 to 91, which no table has a row for.
*/
int slotIndexForControl (CtMode mode, CtKind kind, int cid);

/** The "value" that control 73, 74 or 86 to 89 carries in a mode: data 1 of its
    own slot record in the MCP modes, the jog function number in "pro-tools" and
    "usrdef-hui". 73 and 74 hold the jog's normal state and 86 to 89 its zoom
    states, whatever the zoom state shown. Any other id gives 0.
*/
int jogValueFor (CtMode mode, int cid);

//==============================================================================
/**
    The on-screen counterpart of one control of the unit.

    The button binds six values to the properties of one "control" node of a map
    tree, so reading and writing them reads and writes the stored map. Its text,
    what the control sends in the current mode, goes to the attached label or,
    without one, onto the button itself. The setters write the map tree and, where
    the current mode keeps the attribute there, the control's slot record or HUI
    pair as well.

    A button bound to an invalid node (a loaded map that lacks the control) is
    unbound: it shows no text and its setters write nothing.

    Message thread only.
*/
class MappableButton : public juce::TextButton
{
public:
    explicit MappableButton (const juce::String& buttonName);
    ~MappableButton() override = default;

    /** Binds the button to a control node and refreshes its text; `kind` is kept. */
    void setMapping (juce::ValueTree control);

    /** Puts getLabelText() onto the attached label, or onto the button without one. */
    virtual void updateText();

    /** What the bound control sends in the mode of the current map. */
    virtual juce::String getLabelText();

    void setValue (int newValue);
    /** @param messageType  9, 11, 14, or 0 for none */
    void setMsgType (int messageType);
    /** @param channel  1 to 16 */
    void setChan (int channel);
    /** Sets data 2 (velocity or rotation pattern); leaves the text as it is. */
    void setVelo (int velocity);
    /** Sets "value1" (which == 1) or "value2"; in "usrdef-hui" also the byte of the control's HUI pair. */
    void setV1orV2 (CtMode mode, CtKind kindOfControl, int byteValue, int which);

    /** True while the button refers to a control node. */
    bool isBound() const noexcept      { return bound; }

    /** The bound control's "value", "value1" and "value2" as ints (0 when unbound). */
    int getValueAsInt() const          { return (int) value.getValue(); }
    int getValue1AsInt() const         { return (int) value1.getValue(); }
    int getValue2AsInt() const         { return (int) value2.getValue(); }

    //==============================================================================
    /** The label that shows the control's text; owned by the section. */
    juce::Label* attachedLabel = nullptr;
    /** Id of the bound control, 0 until bound. */
    int cid = 0;
    /** A CtKind value, written by the sections and the jog rebinding. */
    int kind = 0;

private:
    juce::Value value, type, chan, value1, value2, velo;
    bool bound = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MappableButton)
};

//==============================================================================
/** A push button of the command row; the content component sets name and text. */
class CommandButton : public juce::TextButton
{
public:
    CommandButton() = default;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CommandButton)
};

//==============================================================================
/** The mode box: "1) Mackie" to "4) User Define"; the last item stands for both
    user-defined modes and resolves by the protocol last chosen for them.
*/
class CtModeComboBox : public juce::ComboBox
{
public:
    CtModeComboBox();

    /** The mode of the selected item; the current mode while nothing is selected. */
    CtMode getSelectedMode() const;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CtModeComboBox)
};

//==============================================================================
/** The protocol box: "1) MCP" and "2) HUI"; enabled only in the user-defined modes. */
class CtPtclComboBox : public juce::ComboBox
{
public:
    CtPtclComboBox();

    /** 0 MCP, 1 HUI, -1 none. */
    int getSelectedPtcl() const;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CtPtclComboBox)
};

//==============================================================================
/** A combo box whose items each carry a mapped int value, in item order. */
class MapComboBox : public juce::ComboBox
{
public:
    MapComboBox();

    /** The value of the selected item, or 0 when none is selected or it has none. */
    int getMappedValue() const;

    juce::Array<int>& getValues() noexcept     { return values; }

    juce::Array<int> values;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MapComboBox)
};
