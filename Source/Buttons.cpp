#include "Buttons.h"

#include "Arrays.h"
#include "Defa.h"
#include "VtrPlus.h"

//==============================================================================
const char PtclName[2][4] = { "MCP", "HUI" };
const char msgTypes[4][20] = { "Note", "CC", "Pitch Bend", "null" };
const char velos[2][23] = { "Incremental", "Numerical" };
const int modIdForSel[8] = { 0, 1, 2, 3, 4, 0, 0, 0 };
const int zomjog2cid[4][2] = { { 73, 74 }, { 86, 87 }, { 88, 89 }, { 0, 0 } };

namespace
{
    enum ModeNumber { mackie = 0, logic = 1, proTools = 2, usrdefMcp = 3, usrdefHui = 4 };
    enum KindNumber { button = 0, knob = 1, jogWheel = 2, fader = 3, masterFader = 4 };

    constexpr int numSlots = 100;

    int currentModeNumber()
    {
        return (int) VtrPlus::singletonHolder.get()->getCurrentMap().getCtMode();
    }

    bool isMcpFamily (int mode)     { return mode == mackie || mode == logic || mode == usrdefMcp; }

    /** Record `slot` of the slot table of an MCP-family mode, or null. */
    juce::uint8* slotRecord (int mode, int slot)
    {
        if (! isMcpFamily (mode) || ! juce::isPositiveAndBelow (slot, numSlots))
            return nullptr;

        return arrForMoid[mode][slot];
    }

    bool isKnobRotationGroup (int controllerNumber)
    {
        return (controllerNumber >= 16 && controllerNumber <= 23) || controllerNumber == 60;
    }

    juce::String typeSlugFor (int messageType)
    {
        return messageType == 0 ? CtType::slugForType (3) : Defa::getMstyStr (messageType);
    }
}

//==============================================================================
int slotIndexForControl (CtMode mode, CtKind kind, int cid)
{
    if (! juce::isPositiveAndBelow (cid, (int) std::size (cid2BnAidHui)))
        return -1;

    const auto k = (int) kind;

    if ((int) mode == usrdefHui && k != knob && k != fader && k != masterFader)
        return cid2BnAidHui[cid];

    return slotForCid (cid) - 1;
}

int jogValueFor (CtMode mode, int cid)
{
    const auto m = (int) mode;

    if (isMcpFamily (m))
    {
        auto* record = slotRecord (m, slotForCid (cid));
        return record != nullptr ? record[2] : 0;
    }

    if (cid == 73 || cid == 74)
    {
        if (m == proTools)
            return protoolsJogIndexesWhenZmN;

        return HuiJogMappIndex[cid - 73];
    }

    if (cid < 86 || cid > 89)
        return 0;

    if (m == proTools)
        return protoolsJogIndexesWhenZmLR[cid - 86];

    return HuiBtnMappIndex[cid2BnAidHui[cid]];
}

//==============================================================================
MappableButton::MappableButton (const juce::String& buttonName)
    : juce::TextButton (buttonName)
{
    setColour (juce::TextButton::buttonOnColourId, juce::Colours::lightskyblue);

    // The button lies over the picture of its control: it draws no outline.
    setColour (juce::ComboBox::outlineColourId, juce::Colours::transparentBlack);
}

void MappableButton::setMapping (juce::ValueTree control)
{
    bound = control.isValid();

    if (! bound)
    {
        // A loaded map may lack this control: drop the old binding so that no
        // setter writes another control's slot record or another map's tree.
        cid = 0;

        for (auto* v : { &value, &type, &chan, &value1, &value2, &velo })
            v->referTo (juce::Value());

        updateText();
        return;
    }

    cid = (int) control[Tags::cid];

    value.referTo (control.getPropertyAsValue (Tags::value, nullptr));
    type.referTo (control.getPropertyAsValue (Tags::type, nullptr));
    chan.referTo (control.getPropertyAsValue (Tags::chan, nullptr));
    value1.referTo (control.getPropertyAsValue (Tags::v1, nullptr));
    value2.referTo (control.getPropertyAsValue (Tags::v2, nullptr));
    velo.referTo (control.getPropertyAsValue (Tags::velo, nullptr));

    updateText();
}

void MappableButton::updateText()
{
    const auto labelText = getLabelText();

    if (attachedLabel != nullptr)
        attachedLabel->setText (labelText, juce::dontSendNotification);
    else
        setButtonText (labelText);
}

juce::String MappableButton::getLabelText()
{
    if (! bound)
        return {};

    const auto mode = currentModeNumber();

    if (mode == proTools)
    {
        const auto p = Defa::indexForvalue (proTools, kind, getValueAsInt());
        return Defa::getName (proTools, kind, p);
    }

    if (mode == usrdefHui)
    {
        const auto l = Defa::pairIndexFor (kind, getValue1AsInt(), getValue2AsInt());
        return Defa::getName3 (usrdefHui, kind, Defa::indexForvalue (usrdefHui, kind, l), 11);
    }

    const auto messageType = Defa::getMsgType (mode, cid);
    const auto v = Defa::getMsVal (cid);

    switch (messageType)
    {
        case 0:
            return {};

        case 9:
            // Only a loaded file can put a note number above 127 into a table;
            // there is no name for it.
            if (! juce::isPositiveAndBelow (v, 128))
                return juce::String::formatted ("Note %d", v);

            if (mode == logic)
                return Defa::getName (logic, kind, Defa::indexForvalue (logic, kind, v));

            return Defa::NOTE[v];

        case 11:
            return juce::String::formatted ("CC%d", v);

        case 14:
            return juce::String::formatted ("PB.%d", Defa::getChan (mode, cid));

        default:
            return "ErrMidiMsgType";
    }
}

//==============================================================================
void MappableButton::setValue (int newValue)
{
    if (! bound)
        return;

    if (auto* record = slotRecord (currentModeNumber(), slotForCid (cid)))
        record[2] = (juce::uint8) newValue;

    value = newValue;
    updateText();
}

void MappableButton::setMsgType (int messageType)
{
    if (! bound)
        return;

    if (auto* record = slotRecord (currentModeNumber(), slotForCid (cid)))
    {
        record[0] = (juce::uint8) messageType;
        record[1] = (juce::uint8) ((record[1] & 0x0F) | (messageType << 4));
    }

    type = typeSlugFor (messageType);
    updateText();
}

void MappableButton::setChan (int channel)
{
    if (! bound)
        return;

    if (auto* record = slotRecord (currentModeNumber(), slotForCid (cid)))
        record[1] = (juce::uint8) ((record[1] & 0xF0) | ((channel - 1) & 0x0F));

    chan = channel;
    updateText();
}

void MappableButton::setVelo (int velocity)
{
    if (! bound)
        return;

    const auto row = (cid >= 65 && cid <= 72) ? cid - 65 : 8;
    const auto column = isKnobRotationGroup (getValueAsInt()) ? 0 : 1;
    knobVelos[row][column] = (juce::uint8) velocity;

    if (currentModeNumber() == usrdefMcp)
        if (auto* record = slotRecord (usrdefMcp, slotForCid (cid)))
            record[3] = (juce::uint8) velocity;

    velo = velocity;
}

void MappableButton::setV1orV2 (CtMode mode, CtKind kindOfControl, int byteValue, int which)
{
    if (! bound)
        return;

    if ((int) mode == usrdefHui)
        if (auto* pair = huiPairRowFor ((int) kindOfControl, cid))
            pair[which == 1 ? 0 : 1] = (juce::uint8) byteValue;

    if (which == 1)
        value1 = byteValue;
    else
        value2 = byteValue;

    updateText();
}

//==============================================================================
CtModeComboBox::CtModeComboBox()
{
    for (int i = 0; i < 4; ++i)
    {
        const auto name = CtMode::nameForType (i);

        if (name.isNotEmpty())
            addItem (juce::String (i + 1) + ") " + name, i + 1);
    }

    const auto mode = (int) VtrPlus::singletonHolder.get()->getCurrentCtMode();
    setSelectedItemIndex (juce::jmin (mode, 3), juce::dontSendNotification);
}

CtMode CtModeComboBox::getSelectedMode() const
{
    const auto index = getSelectedItemIndex();

    if (! juce::isPositiveAndBelow (index, 4))
        return VtrPlus::singletonHolder.get()->getCurrentCtMode();

    const auto lastUserProtocol = g_LasPtcl4Usdf == 1 ? 1 : 0;
    return CtMode (modIdForSel[index == 3 ? index + lastUserProtocol : index]);
}

//==============================================================================
CtPtclComboBox::CtPtclComboBox()
{
    for (int i = 0; i < 2; ++i)
        addItem (juce::String (i + 1) + ") " + PtclName[i], i + 1);

    setSelectedItemIndex (VtrPlus::singletonHolder.get()->getCurrPtcl(), juce::dontSendNotification);

    const auto mode = (int) VtrPlus::singletonHolder.get()->getCurrentCtMode();
    setEnabled (mode == usrdefMcp || mode == usrdefHui);
}

int CtPtclComboBox::getSelectedPtcl() const
{
    return getSelectedItemIndex();
}

//==============================================================================
MapComboBox::MapComboBox() = default;

int MapComboBox::getMappedValue() const
{
    const auto index = getSelectedItemIndex();
    return juce::isPositiveAndBelow (index, values.size()) ? values[index] : 0;
}
