#include "Defa.h"

#include "Arrays.h"

#include <zuvo_core/zuvo_core.h>

namespace
{
    enum Mode { mackie, logic, proTools, usrdefMcp, usrdefHui };
    enum Kind { button, knob, jogWheel, fader, masterFader };

    bool isMcpMode (int mode) noexcept   { return mode == mackie || mode == logic || mode == usrdefMcp; }
    bool isHuiMode (int mode) noexcept   { return mode == proTools || mode == usrdefHui; }
    bool isKnownMode (int mode) noexcept { return juce::isPositiveAndBelow (mode, 5); }
    bool isKnownKind (int kind) noexcept { return juce::isPositiveAndBelow (kind, 5); }

    /** The control's record in the mode's slot table, or a zero record. */
    const unsigned char* slotRecordOf (int mode, int cid) noexcept
    {
        static const unsigned char none[4] {};
        const auto slot = slotForCid (cid);

        if (! isKnownMode (mode))
        {
            jassertfalse;
            return none;
        }

        if (! juce::isPositiveAndBelow (slot, (int) std::size (cb)))
        {
            jassertfalse;
            return none;
        }

        return arrForMoid[mode][slot];
    }

    //==============================================================================
    /** The pro-tools index at a position of the button list's defaults: the
        channel strips' switches first, then the positions 40-63; 0 elsewhere. */
    int proToolsButtonIndex (int position) noexcept
    {
        if (juce::isPositiveAndBelow (position, 40))
            return position + 19;

        if (position >= 40 && position < 64)
            return protoolsButtonDefaults[position - 40];

        return 0;
    }

    /** The pro-tools index of the control's default function. */
    int proToolsFactoryValue (int cid) noexcept
    {
        const auto position = Defa::indexForId (cid);

        switch (Defa::kindForCid (cid))
        {
            case knob:        return tableAt (protoolsKnobIndexes, position);
            // 73 and 74 hold the jog's normal state; 86-89 those of the zoom states.
            case jogWheel:    return protoolsJogIndexesWhenZmN;
            case fader:       return tableAt (protoolsFaderIndexes, position);
            case masterFader: return protoolsMasterFaderIndexes[0];
            default:          break;
        }

        // The jog halves of the zoom states are buttons with their own list.
        if (cid >= 86 && cid <= 89)
            return protoolsJogIndexesWhenZmLR[cid - 86];

        return proToolsButtonIndex (position);
    }

    /** "value1" and "value2" of a "pro-tools" control. Knobs, faders and the
        master fader have no entry at their slot's position, so they carry the
        HUI controller of their default function (byte 1 of its record): the
        transfer takes the low nibble of "value2" as the V-pot or fader number,
        which then names the control's own V-pot or fader. The jog halves carry
        their default function's pro-tools index. */
    int proToolsV1V2 (int cid) noexcept
    {
        switch (Defa::kindForCid (cid))
        {
            case button:    return proToolsButtonIndex (slotForCid (cid) - 1);
            case jogWheel:  return protoolsJogIndexesWhenZmN;
            default:        return rowAt (protoolsMapping0, proToolsFactoryValue (cid))[0];
        }
    }

    //==============================================================================
    /** The control's default (value1, value2) pair in "usrdef-hui". Buttons and
        the jog halves go by their HUI button index, knobs and faders by slot;
        an id without a HUI button index gets the function without a name. */
    const unsigned char* huiFactoryPair (int cid) noexcept
    {
        const auto bySlot = tableAt (HuiBtnMappIndex, slotForCid (cid) - 1);
        const auto byButtonIndex = tableAt (HuiBtnMappIndex, tableAt (cid2BnAidHui, cid, -1));

        switch (Defa::kindForCid (cid))
        {
            case knob:        return rowAt (HuiKnVaPairs0, bySlot);
            case jogWheel:    return rowAt (HuiJogVaPairs0, byButtonIndex);
            case fader:
            case masterFader: return rowAt (HuiFdknVaPairs0, bySlot);
            default:          return rowAt (HuiBnVaPairs0, byButtonIndex);
        }
    }

    /** The first entry of a pair list that `matches`, or `fallback`. */
    template <size_t entries, typename Matches>
    int findPair (const unsigned char (&pairs)[entries][2], Matches&& matches, int fallback) noexcept
    {
        for (size_t i = 0; i < entries; ++i)
            if (matches (pairs[i][0], pairs[i][1]))
                return (int) i;

        return fallback;
    }

    /** The entry of the kind's "usrdef-hui" list that holds the control's default pair. */
    int huiFactoryValue (int cid) noexcept
    {
        const auto* pair = huiFactoryPair (cid);
        return Defa::pairIndexFor (Defa::kindForCid (cid), pair[0], pair[1]);
    }

    //==============================================================================
    /** The size of a "usrdef-hui" list of one of the kinds 0-4. */
    int huiUserListSize (int kind) noexcept
    {
        switch (kind)
        {
            case knob:        return (int) std::size (HuiKnVaPairs0);
            case jogWheel:    return (int) std::size (HuiJogVaPairs0);
            case fader:
            case masterFader: return (int) std::size (HuiFdknVaPairs0);
            default:          return (int) std::size (HuiBnVaPairs0);
        }
    }

    int proToolsListSize (int kind) noexcept
    {
        switch (kind)
        {
            case button:      return (int) std::size (protoolsButtonIndexes);
            case knob:        return (int) std::size (protoolsKnobIndexes);
            case jogWheel:    return isZoomNorLR == 0 ? 1 : (int) std::size (protoolsJogIndexesWhenZmLR);
            case fader:       return (int) std::size (protoolsFaderIndexes);
            case masterFader: return (int) std::size (protoolsMasterFaderIndexes);
            default:          return 0;
        }
    }

    /** The first position below listSize whose value is `value`, or notFound. */
    template <typename ValueAt>
    int firstPositionOf (int listSize, int value, int notFound, ValueAt&& valueAt)
    {
        for (int position = 0; position < listSize; ++position)
            if (valueAt (position) == value)
                return position;

        return notFound;
    }

    /** The selection of a type among the message-type box's first three items, or -1. */
    int selectionOf (int msgType) noexcept
    {
        for (int selection = 0; selection < 3; ++selection)
            if (Defa::typOfSele[selection] == msgType)
                return selection;

        return -1;
    }

    //==============================================================================
    /** The name in a row of a name table, or the empty string outside the table. */
    template <size_t width>
    juce::String nameAt (const char (*table)[width], int numRows, int row)
    {
        if (! juce::isPositiveAndBelow (row, numRows))
        {
            jassertfalse;
            return {};
        }

        const auto* name = table[row];
        return juce::String (name, (size_t) (std::find (name, name + width, '\0') - name));
    }

    template <size_t rows, size_t width>
    juce::String nameAt (const char (&table)[rows][width], int row)
    {
        return nameAt (table, (int) rows, row);
    }

    const char (&noteFunctionsOf (int mode))[128][40]
    {
        if (mode == logic)      return Defa::logicNotes;
        if (mode == usrdefMcp)  return Defa::cbFuncs;
        return Defa::nuendoNotes;
    }

    /** The note's name, two blanks and the mode's function of the note. */
    juce::String noteEntryName (int mode, int note)
    {
        if (! juce::isPositiveAndBelow (note, (int) std::size (Defa::NOTE)))
        {
            jassertfalse;
            return {};
        }

        const auto* noteName = Defa::NOTE[note];
        const auto* joined = strcat_0 (noteName, "  ", noteFunctionsOf (mode)[note], nullptr);
        const juce::String name (joined);

        if (joined != noteName)
            std::free (const_cast<char*> (joined));

        return name;
    }
}

//==============================================================================
namespace Defa
{
    int getMsgType (int mode, int cid)
    {
        return isHuiMode (mode) ? 11 : slotRecordOf (mode, cid)[0];
    }

    int getChan (int mode, int cid)
    {
        return (slotRecordOf (mode, cid)[1] & 0x0F) + 1;
    }

    int getVelo (int mode, int cid)
    {
        return slotRecordOf (mode, cid)[3];
    }

    int factoryValue (int mode, int cid)
    {
        switch (mode)
        {
            case proTools:   return proToolsFactoryValue (cid);
            case usrdefHui:  return huiFactoryValue (cid);
            default:         return slotRecordOf (mode, cid)[2];
        }
    }

    int factoryV1V2 (int mode, int cid, int which)
    {
        if (which != 1 && which != 2)
        {
            jassertfalse;
            return 0;
        }

        switch (mode)
        {
            case proTools:   return proToolsV1V2 (cid);
            case usrdefHui:  return huiFactoryPair (cid)[which - 1];
            // Nothing reads value1 and value2 in the MCP modes; they are stored as 0.
            case mackie:
            case logic:
            case usrdefMcp:  return 0;
            default:         jassertfalse; return 0;
        }
    }

    int pairIndexFor (int kind, int value1, int value2)
    {
        const auto both = [value1, value2] (int a, int b) { return a == value1 && b == value2; };

        switch (kind)
        {
            case button:   return findPair (HuiBnVaPairs0, both, 0);
            case knob:     return findPair (HuiKnVaPairs0, [value2] (int, int b) { return b == value2; }, 0);
            case jogWheel: return findPair (HuiJogVaPairs0, both, 1);
            default:       return findPair (HuiFdknVaPairs0, both, 17);
        }
    }

    //==============================================================================
    const int typOfSele[4] { 9, 11, 14, 0 };

    juce::String getMstyStr (int msgType)
    {
        const auto selection = selectionOf (msgType);
        return selection >= 0 ? CtType::slugForType (selection) : juce::String();
    }

    int getMstyForSel (int selection)
    {
        return tableAt (typOfSele, selection);
    }

    int selForMsgType (int msgType)
    {
        return juce::jmax (0, selectionOf (msgType));
    }

    //==============================================================================
    int nSelsInFunc (int mode, int kind)
    {
        if (mode == proTools)
            return proToolsListSize (kind);

        if (mode == usrdefHui)
            return huiUserListSize (kind);

        if (! isMcpMode (mode))
        {
            jassertfalse;
            return 0;
        }

        switch (kind)
        {
            case knob:        return (int) std::size (abletonLiveKnobValues);
            case jogWheel:    return isZoomNorLR == 0 ? 1 : 128;
            case fader:       return (int) std::size (abletonLiveFaderValues);
            case masterFader: return (int) std::size (abletonLiveMasterFaderValues);
            default:          return 128;
        }
    }

    int nSelsInFunc2 (int mode, int kind)
    {
        if (mode == proTools)
            return proToolsListSize (kind);

        if (mode == usrdefHui)
            return isKnownKind (kind) ? huiUserListSize (kind) : 0;

        jassert (isMcpMode (mode));
        return isMcpMode (mode) ? 128 : 0;
    }

    int getValue (int mode, int kind, int position)
    {
        if (mode == usrdefHui)
            return position;

        if (mode == proTools)
            return getValueHUI (mode, kind, position);

        if (! isMcpMode (mode))
        {
            jassertfalse;
            return 0;
        }

        switch (kind)
        {
            case button:      return position;
            case knob:        return tableAt (abletonLiveKnobValues, position);
            case jogWheel:    return isZoomNorLR == 0 ? abletonLiveJogWheelValues[0] : position;
            case fader:       return tableAt (abletonLiveFaderValues, position);
            case masterFader: return tableAt (abletonLiveMasterFaderValues, position);
            default:          return 0;
        }
    }

    int getValueHUI (int, int kind, int position)
    {
        switch (kind)
        {
            case button:      return tableAt (protoolsButtonIndexes, position);
            case knob:        return tableAt (protoolsKnobIndexes, position);
            case jogWheel:    return isZoomNorLR == 0 ? protoolsJogIndexesWhenZmN
                                                      : tableAt (protoolsJogIndexesWhenZmLR, position);
            case fader:       return tableAt (protoolsFaderIndexes, position);
            case masterFader: return tableAt (protoolsMasterFaderIndexes, position);
            default:          return 0;
        }
    }

    int getValue2 (int mode, int kind, int position)
    {
        if (mode == proTools)
            return getValueHUI (mode, kind, position);

        if (mode == usrdefHui)
            return position;

        jassert (isMcpMode (mode));
        return isMcpMode (mode) && isKnownKind (kind) ? position : 0;
    }

    int selForval (int mode, int kind, int value)
    {
        return firstPositionOf (nSelsInFunc (mode, kind), value, 0,
                                [=] (int position) { return getValue (mode, kind, position); });
    }

    int indexForvalue (int mode, int kind, int value)
    {
        return selForval (mode, kind, value);
    }

    int selForval2 (int mode, int kind, int value)
    {
        return firstPositionOf (nSelsInFunc2 (mode, kind), value, -1,
                                [=] (int position) { return getValue2 (mode, kind, position); });
    }

    //==============================================================================
    juce::String getName3 (int mode, int kind, int position, int msgType)
    {
        if (mode == usrdefHui)
        {
            switch (kind)
            {
                case knob:        return nameAt (HuiKnFuncs0, position);
                case jogWheel:    return nameAt (HuiJogFuncs0, position);
                case fader:
                case masterFader: return nameAt (HuiFdknFuncs0, position);
                default:          return nameAt (HuiBtnFuncs0, position);
            }
        }

        if (mode == proTools)
            return nameAt (protoolsControlNames, getValueHUI (mode, kind, position));

        if (! isMcpMode (mode))
        {
            jassertfalse;
            return {};
        }

        if (! isKnownKind (kind))
            return "(err)";

        const auto selection = selForMsgType (msgType);

        if (selection == 0)
            return noteEntryName (mode, position);

        return nameAt (NCP[selection], (int) std::size (CC), position);
    }

    juce::String getName (int mode, int kind, int position)
    {
        if (isHuiMode (mode))
            return getName3 (mode, kind, position, 11);

        if (! isMcpMode (mode))
        {
            jassertfalse;
            return {};
        }

        return nameAt (noteFunctionsOf (mode), position);
    }

    void fillPitchNames()
    {
        for (auto& row : PITCH)
            std::strcpy (row, "---");
    }

    //==============================================================================
}

//==============================================================================
// Name tables.
namespace Defa
{
// Row n: the pitch class of note n, a natural preceded by a blank, then the octave.
const char NOTE[128][40]
{
    " C(-1)", "C#(-1)", " D(-1)", "D#(-1)", " E(-1)", " F(-1)",                                  // 0-5
    "F#(-1)", " G(-1)", "G#(-1)", " A(-1)", "A#(-1)", " B(-1)",                                  // 6-11
    " C(0)", "C#(0)", " D(0)", "D#(0)", " E(0)", " F(0)",                                        // 12-17
    "F#(0)", " G(0)", "G#(0)", " A(0)", "A#(0)", " B(0)",                                        // 18-23
    " C(1)", "C#(1)", " D(1)", "D#(1)", " E(1)", " F(1)",                                        // 24-29
    "F#(1)", " G(1)", "G#(1)", " A(1)", "A#(1)", " B(1)",                                        // 30-35
    " C(2)", "C#(2)", " D(2)", "D#(2)", " E(2)", " F(2)",                                        // 36-41
    "F#(2)", " G(2)", "G#(2)", " A(2)", "A#(2)", " B(2)",                                        // 42-47
    " C(3)", "C#(3)", " D(3)", "D#(3)", " E(3)", " F(3)",                                        // 48-53
    "F#(3)", " G(3)", "G#(3)", " A(3)", "A#(3)", " B(3)",                                        // 54-59
    " C(4)", "C#(4)", " D(4)", "D#(4)", " E(4)", " F(4)",                                        // 60-65
    "F#(4)", " G(4)", "G#(4)", " A(4)", "A#(4)", " B(4)",                                        // 66-71
    " C(5)", "C#(5)", " D(5)", "D#(5)", " E(5)", " F(5)",                                        // 72-77
    "F#(5)", " G(5)", "G#(5)", " A(5)", "A#(5)", " B(5)",                                        // 78-83
    " C(6)", "C#(6)", " D(6)", "D#(6)", " E(6)", " F(6)",                                        // 84-89
    "F#(6)", " G(6)", "G#(6)", " A(6)", "A#(6)", " B(6)",                                        // 90-95
    " C(7)", "C#(7)", " D(7)", "D#(7)", " E(7)", " F(7)",                                        // 96-101
    "F#(7)", " G(7)", "G#(7)", " A(7)", "A#(7)", " B(7)",                                        // 102-107
    " C(8)", "C#(8)", " D(8)", "D#(8)", " E(8)", " F(8)",                                        // 108-113
    "F#(8)", " G(8)", "G#(8)", " A(8)", "A#(8)", " B(8)",                                        // 114-119
    " C(9)", "C#(9)", " D(9)", "D#(9)", " E(9)", " F(9)",                                        // 120-125
    "F#(9)", " G(9)",                                                                            // 126-127
};

const char CC[128][40]
{
    "Bank MSB*(GS)", "Modulation(GM)", "Breath", "--",                                           // 0-3
    "Foot Pedal", "Portamento Time(GM)", "Data Entry MSB(GM)", "Volume*(GM)",                    // 4-7
    "Balance(GM)", "--", "Pan(GM)", "Expression*(GM)",                                           // 8-11
    "--", "--", "--", "--",                                                                      // 12-15
    "Gp Control #1", "Gp Control #2", "Gp Control #3", "Gp Control #4",                          // 16-19
    "--", "--", "--", "--",                                                                      // 20-23
    "--", "--", "--", "--",                                                                      // 24-27
    "--", "--", "--", "--",                                                                      // 28-31
    "--", "--", "--", "--",                                                                      // 32-35
    "--", "--", "Data Entry LSB", "--",                                                          // 36-39
    "--", "--", "--", "--",                                                                      // 40-43
    "--", "--", "--", "--",                                                                      // 44-47
    "--", "--", "--", "--",                                                                      // 48-51
    "--", "--", "--", "--",                                                                      // 52-55
    "--", "--", "--", "--",                                                                      // 56-59
    "--", "--", "--", "--",                                                                      // 60-63
    "Hold Pedal #1*(GM)", "Portamento(Gs)", "Sostenuto(Gs)", "Soft Pedal(Gs)",                   // 64-67
    "Legato Pedal", "Hold Pedal #2", "Sound Variation", "Sound Timbre",                          // 68-71
    "Sound Release Time", "Sound Attack Time", "Sound Brightness", "Sound Control #6",           // 72-75
    "Sound Control #7", "Sound Control #8", "Sound Control #9", "Sound Control #10",             // 76-79
    "GP Control #5", "GP Control #6", "GP Control #7", "GP Control #8",                          // 80-83
    "Portamento Control(GS)", "--", "--", "--",                                                  // 84-87
    "--", "--", "--", "Reverb Level(GS)",                                                        // 88-91
    "Tremolo Depth", "Chorus Level(GS)", "Celeste Depth", "Phaser Depth",                        // 92-95
    "Data Increment", "Data Decrement", "Non-RPN*Param LSB(GS)", "Non-RPN*Param MSB(GS)",        // 96-99
    "RPN*Parameter LSB(GM)", "RPN*Parameter MSB(GM)", "--", "--",                                // 100-103
    "--", "--", "--", "--",                                                                      // 104-107
    "--", "--", "--", "--",                                                                      // 108-111
    "--", "--", "--", "--",                                                                      // 112-115
    "--", "--", "--", "--",                                                                      // 116-119
    "All Sound Off*(GS)", "Reset All Contorllers(GM)", "Local On/Off", "All Notes Off*(GM)",     // 120-123
    "Omni Mode Off", "Omni Mode On", "Mono Mode On", "Poly Mode On",                             // 124-127
};

char PITCH[128][40] {};

const char (* const NCP[4])[40] { NOTE, CC, PITCH, nullptr };

// The MCP function of each note in "mackie" (and in "usrdef-mcp").
const char nuendoNotes[128][40]
{
    "REC.1", "REC.2", "REC.3", "REC.4", "REC.5", "REC.6", "REC.7", "REC.8",                      // 0-7
    "SOLO.1", "SOLO.2", "SOLO.3", "SOLO.4", "SOLO.5", "SOLO.6", "SOLO.7", "SOLO.8",              // 8-15
    "MUTE.1", "MUTE.2", "MUTE.3", "MUTE.4", "MUTE.5", "MUTE.6", "MUTE.7", "MUTE.8",              // 16-23
    "SEL.1", "SEL.2", "SEL.3", "SEL.4", "SEL.5", "SEL.6", "SEL.7", "SEL.8",                      // 24-31
    "Mon1", "Mon2", "Mon3", "Mon4", "Mon5", "Mon6", "Mon7", "Mon8",                              // 32-39
    "Page<<", "Page>>", "Pan", "Ins", "EQ", "FX-Send", "<<8", "8>>",                             // 40-47
    "1<", ">1", "Flip", "Edit", "Name/Value", "SMPTE/Beats", "F1", "F2",                         // 48-55
    "F3", "F4", "F5", "F6", "F7", "F8", "", "",                                                  // 56-63
    "", "", "", "", "", "", "Undo", "Redo",                                                      // 64-71
    "Save", "", "Read", "Write", "", "", "Mixer", "Motor",                                       // 72-79
    "VSTi", "Master", "", "Shift", "Trnspt<", "Trnspt>", "Loop", "Punch",                        // 80-87
    "Prev", "Add", "Next", "Rewind", "FastFwd", "Stop", "Play", "Record",                        // 88-95
    "Up", "Down", "Left", "Right", "Zoom", "Scrub", "Usr B", "Usr A",                            // 96-103
    "Touch.1", "Touch.2", "Touch.3", "Touch.4", "Touch.5", "Touch.6", "Touch.7", "Touch.8",      // 104-111
    "Touch.M", "SMPTE LED", "Beats LED", "", "", "", "", "",                                     // 112-119
    "", "", "", "", "", "", "", "",                                                              // 120-127
};

const char (&cbFuncs)[128][40] = nuendoNotes;

// The MCP function of each note in "logic".
const char logicNotes[128][40]
{
    "REC.1", "REC.2", "REC.3", "REC.4", "REC.5", "REC.6", "REC.7", "REC.8",                      // 0-7
    "SOLO.1", "SOLO.2", "SOLO.3", "SOLO.4", "SOLO.5", "SOLO.6", "SOLO.7", "SOLO.8",              // 8-15
    "MUTE.1", "MUTE.2", "MUTE.3", "MUTE.4", "MUTE.5", "MUTE.6", "MUTE.7", "MUTE.8",              // 16-23
    "SEL.1", "SEL.2", "SEL.3", "SEL.4", "SEL.5", "SEL.6", "SEL.7", "SEL.8",                      // 24-31
    "Mon1", "Mon2", "Mon3", "Mon4", "Mon5", "Mon6", "Mon7", "Mon8",                              // 32-39
    "Track", "Send", " Pan/Surrnd", "Plug-in", "EQ", "Instrmt", "<<8", "8>>",                    // 40-47
    "1<", ">1", "Flip", "", "Name/Value", "SMPTE/Beats", "F1", "F2",                             // 48-55
    "F3", "F4", "F5", "F6", "F7", "F8", "", "",                                                  // 56-63
    "", "", "", "", "", "", "Shift", "",                                                         // 64-71
    "", "", "Read/Off", "Write", "Trim", "Touch", "Latch", "Group",                              // 72-79
    "Save", "Undo", "Cancel", "Enter", "Marker", "Nudge", "Loop", "Drop",                        // 80-87
    "Replace", "Click", "Solos", "Rewind", "FastFwd", "Stop", "Play", "Record",                  // 88-95
    "Up", "Down", "Left", "Right", "Zoom", "Scrub", "User B", "User A",                          // 96-103
    "Touch.1", "Touch.2", "Touch.3", "Touch.4", "Touch.5", "Touch.6", "Touch.7", "Touch.8",      // 104-111
    "Touch.M", "", "", "", "", "", "", "",                                                       // 112-119
    "", "", "", "", "", "", "", "",                                                              // 120-127
};

// The name of each pro-tools index.
const char protoolsControlNames[119][40]
{
    "Vol.1", "Vol.2", "Vol.3", "Vol.4", "Vol.5", "Vol.6", "Vol.7", "Vol.8",                      // 0-7
    "Vol.M?", "Pan.1", "Pan.2", "Pan.3", "Pan.4", "Pan.5", "Pan.6", "Pan.7",                     // 8-15
    "Pan.8", "Tape Tspt?", "", "REC.1", "REC.2", "REC.3", "REC.4", "REC.5",                      // 16-23
    "REC.6", "REC.7", "REC.8", "SOLO.1", "SOLO.2", "SOLO.3", "SOLO.4", "SOLO.5",                 // 24-31
    "SOLO.6", "SOLO.7", "SOLO.8", "MUTE.1", "MUTE.2", "MUTE.3", "MUTE.4", "MUTE.5",              // 32-39
    "MUTE.6", "MUTE.7", "MUTE.8", "SEL.1", "SEL.2", "SEL.3", "SEL.4", "SEL.5",                   // 40-47
    "SEL.6", "SEL.7", "SEL.8", "Mon1", "Mon2", "Mon3", "Mon4", "Mon5",                           // 48-55
    "Mon6", "Mon7", "Mon8", "Touch.1", "Touch.2", "Touch.3", "Touch.4", "Touch.5",               // 56-63
    "Touch.6", "Touch.7", "Touch.8", "Ctrl", "Shift", "Alt", "Undo", "Cmd",                      // 64-71
    "Option", "Save", "Mix?", "Edit", "Transpt", "MemLock", "Send A", "Send B",                  // 72-79
    "Send C", "Send D", "Send E", "Pan", "Input", "Output", "Down?", "Left?",                    // 80-87
    "Zoom?", "Right?", "Up?", "Scrub?", "Rewind", "FastFwd", "Stop", "Play",                     // 88-95
    "Record", "Loop", "Punch", "IN", "OUT", "Flip", "1<", "<<8",                                 // 96-103
    ">1", "8>>", "Enter", "Suspend", "?Latch", "?Read", "?Off", "?Write",                        // 104-111
    "?Touch", "?Trim", "Assign", "Cancel", "Plugin Assign", "Compare", "Bypass",                 // 112-118
};

// The "usrdef-hui" names, parallel to the pair lists of the same kind.
const char HuiBtnFuncs0[101][19]
{
    "", "TOU.1", "TOU.2", "TOU.3", "TOU.4", "TOU.5", "TOU.6", "TOU.7",                           // 0-7
    "TOU.8", "Ctrl", "Mixer", "1<", "Output", "Assign", "Up", "Enter",                           // 8-15
    "Shift", "Edit", "<<8", "Input", "Right", "Rewind", "?Latch", "PlugAsgn",                    // 16-23
    "MUTE1", "MUTE2", "MUTE3", "MUTE4", "MUTE5", "MUTE6", "MUTE7", "MUTE8",                      // 24-31
    "Alt", "Transpt", ">1", "Pan", "Suspend", "Zoom", "FastFwd", "IN",                           // 32-39
    "?Read", "SOLO1", "SOLO2", "SOLO3", "SOLO4", "SOLO5", "SOLO6", "SOLO7",                      // 40-47
    "SOLO8", "Undo", "MemLock", "8>>", "SendE", "Flip", "Left", "Stop",                          // 48-55
    "Loop", "OUT", "?Off", "Cmd", "SendD", "Down", "Play", "Punch",                              // 56-63
    "?Write", "MON.1", "MON.2", "MON.3", "MON.4", "MON.5", "MON.6", "MON.7",                     // 64-71
    "MON.8", "Option", "SendC", "Scrub", "Rec", "?Touch", "SEL1", "SEL2",                        // 72-79
    "SEL3", "SEL4", "SEL5", "SEL6", "SEL7", "SEL8", "SendB", "Bypass",                           // 80-87
    "REC1", "REC2", "REC3", "REC4", "REC5", "REC6", "REC7", "REC8",                              // 88-95
    "Save", "SendA", "?Trim", "Cancel", "Compare",                                               // 96-100
};

const char HuiKnFuncs0[8][19]
{
    "PAN.1", "PAN.2", "PAN.3", "PAN.4", "PAN.5", "PAN.6", "PAN.7", "PAN.8",                      // 0-7
};

const char HuiFdknFuncs0[18][19]
{
    "VOL.1", "VOL.2", "VOL.3", "VOL.4", "VOL.5", "VOL.6", "VOL.7", "VOL.8", "VOL.M",             // 0-8
    "PAN.1", "PAN.2", "PAN.3", "PAN.4", "PAN.5", "PAN.6", "PAN.7", "PAN.8", "",                  // 9-17
};

const char HuiJogFuncs0[2][19]
{
    "Tape Back", "Tape Fwd",                                                                     // 0-1
};
}
