#pragma once

#include "Shared.h"

/*  The factory assignment rules of the five modes, the function lists of each
    (mode, kind), and the name tables behind them.

    Modes are CtMode values 0-4, kinds CtKind values 0-4 (anything else is
    "any other kind"), message types status nibbles (9, 11, 14, 0). The rules
    read the process-wide slot tables and the jog view state at the moment of
    the call and write nothing. An argument outside the tables (a mode other
    than 0-4, a control id outside 0-89, a position outside its list) is a
    caller's mistake: it asserts in debug builds and reads as a zero record,
    value 0 or an empty name instead of reading outside a table.

    Names come back as juce::String copies, so a caller never frees anything.

    Message thread only.
*/
namespace Defa
{
    //==============================================================================
    // Readers of the slot tables (the "mackie" table for "pro-tools" and "usrdef-hui").

    /** 11 in "pro-tools" and "usrdef-hui"; else the message type of the control's slot record. */
    int getMsgType (int mode, int cid);

    /** MIDI channel 1-16 of the control's slot record. */
    int getChan (int mode, int cid);

    /** Data 2 of the control's slot record. */
    int getVelo (int mode, int cid);

    //==============================================================================
    // Factory values; CtMap calls them right after reloading the mode's tables.

    /** The factory "value": data 1 of the slot record in the MCP modes, the
        pro-tools index in "pro-tools", the pair-list entry in "usrdef-hui". */
    int factoryValue (int mode, int cid);

    /** The factory "value1" (which 1) or "value2" (which 2). */
    int factoryV1V2 (int mode, int cid, int which);

    /** The function number of a "usrdef-hui" control: the position of the pair
        (value1, value2) in the usrdef-hui pair list of its kind. Buttons and the
        jog match both bytes, knobs only value2, faders and any other kind both
        bytes. A pair in no entry gives 0 for buttons and knobs, 1 for the jog and
        17 for faders.
    */
    int pairIndexFor (int kind, int value1, int value2);

    //==============================================================================
    // Message types.

    /** The message type of each item of the editor's message-type box:
        "Note", "CC", "Pitch Bend", "null". */
    extern const int typOfSele[4];

    /** "note", "cc" or "pitch" for 9, 11 or 14; the empty string for any other type. */
    juce::String getMstyStr (int msgType);

    /** typOfSele[selection]: 9, 11, 14, 0. */
    int getMstyForSel (int selection);

    /** The selection 0, 1 or 2 of the type 9, 11 or 14; 0 for any other type. */
    int selForMsgType (int msgType);

    //==============================================================================
    // Function lists. Rule lists (nSelsInFunc, getValue, selForval,
    // indexForvalue, getName) serve the factory rules, the labels and the
    // transfer; editor lists (nSelsInFunc2, getValue2, selForval2, getName3)
    // fill the editor's function box. The jog lists follow isZoomNorLR.

    int nSelsInFunc (int mode, int kind);
    int nSelsInFunc2 (int mode, int kind);

    /** The value of a position of the rule list. */
    int getValue (int mode, int kind, int position);

    /** The pro-tools index of a position of the kind's pro-tools list
        (the mode is not used). */
    int getValueHUI (int mode, int kind, int position);

    /** The value of a position of the editor list. */
    int getValue2 (int mode, int kind, int position);

    /** The first position of the rule list holding the value; 0 when none does. */
    int selForval (int mode, int kind, int value);

    /** The same as selForval. */
    int indexForvalue (int mode, int kind, int value);

    /** The first position of the editor list holding the value; -1 when none does. */
    int selForval2 (int mode, int kind, int value);

    /** The name of a position of the rule list. */
    juce::String getName (int mode, int kind, int position);

    /** The name of a position of the editor list. In the MCP modes a note
        (any type but 11 and 14) reads as the note's name, two blanks and the
        mode's function of that note, like " G(6)  Rewind"; a kind outside
        0-4 gives "(err)". */
    juce::String getName3 (int mode, int kind, int position, int msgType);

    //==============================================================================
    // Name tables: NUL-terminated rows of fixed width.

    extern const char NOTE[128][40];            // note names, " C(-1)" ... " G(9)"
    extern const char CC[128][40];              // controller names
    extern char PITCH[128][40];                 // pitch-bend names, empty until fillPitchNames()

    /** The name table of each message-type selection: NOTE, CC, PITCH, nullptr. */
    extern const char (* const NCP[4])[40];

    extern const char nuendoNotes[128][40];     // MCP function of each note in "mackie"
    extern const char logicNotes[128][40];      // ... in "logic"
    extern const char (&cbFuncs)[128][40];      // ... in "usrdef-mcp": the rows of nuendoNotes
    extern const char protoolsControlNames[119][40];

    // "usrdef-hui" names, parallel to the pair lists of the same kind.
    extern const char HuiBtnFuncs0[101][19];
    extern const char HuiKnFuncs0[8][19];
    extern const char HuiFdknFuncs0[18][19];
    extern const char HuiJogFuncs0[2][19];

    /** Fills every row of PITCH with "---"; the application calls it once at
        start, before the window opens. */
    void fillPitchNames();
}
