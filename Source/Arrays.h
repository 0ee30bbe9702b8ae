#pragma once

#include "Shared.h"

/*  The unit's image of the maps, and the factory tables it is reloaded from.

    A slot record is four bytes: message type (status nibble 9, 11, 14, or 0
    for none), status byte ((type << 4) | (channel - 1)), data 1 (note or
    controller number) and data 2 (velocity or controller value). Slots 1-98
    are the unit's control table; slots 0 and 99 belong to no control.

    The mutable tables are process-wide, unguarded, zero until the first map
    of their family is built, and used on the message thread only. They are
    read and written by index: arrForMoid[mode][slotForCid (cid)][byte].
*/

//==============================================================================
// Process-wide tables, the unit's image of the maps.
extern unsigned char cb[100][4];            // "mackie" slot table; also read by "pro-tools" and "usrdef-hui"
extern unsigned char lg[100][4];            // "logic" slot table
extern unsigned char nd[100][4];            // "usrdef-mcp" slot table
extern unsigned char pt[120][4];            // "pro-tools" HUI records, by pro-tools index
extern unsigned char HuiBnPairs[70][2];     // "usrdef-hui" (value1, value2) per HUI button index
extern unsigned char HuiKnPairs[8][2];      // "usrdef-hui" pair per knob (controls 65-72)
extern unsigned char HuiFdknPairs[9][2];    // "usrdef-hui" pair per fader and master fader (77-85)
extern unsigned char HuiJogPairs[2][2];     // "usrdef-hui" pair per jog half (73, 74)

/** The rotation pattern remembered per knob (rows 0-7, controls 65-72) and
    for the jog (row 8): column 0 while the controller number is one of 16-23
    or 60, column 1 for any other controller number. */
extern unsigned char knobVelos[9][2];

/** The slot table of each mode: cb, lg, cb, nd, cb, and nullptr at index 5. */
extern unsigned char (* const arrForMoid[6])[4];

/** The slot of a control id in the unit's control table: the one record that
    holds the control's assignment. The jog ids 73 and 74 are the jog's normal
    state (slots 80 and 79) in every zoom state; the zoom states have their own
    ids, 86-89. Ids outside 0-89 come back unchanged, so a caller must check the
    result before indexing. */
int slotForCid (int cid) noexcept;

//==============================================================================
// Constant factory tables.
extern const unsigned char cbBnAttrs0[100][4];        // MCP factory slot records of the three MCP modes
extern const unsigned char protoolsMapping0[120][4];  // "pro-tools" HUI record of each pro-tools index
extern const unsigned char knobVelos0[9][2];

/** The "usrdef-hui" (value1, value2) pairs, one per entry of the kind's
    function list; for buttons value1 is a HUI zone and value2 0x40 + port. */
extern const unsigned char HuiBnVaPairs0[101][2];
extern const unsigned char HuiKnVaPairs0[8][2];
extern const unsigned char HuiFdknVaPairs0[18][2];
extern const unsigned char HuiJogVaPairs0[2][2];

/** The default pair-list entry of each row: rows 0-69 HUI button indexes
    (HuiBnVaPairs0), 70-77 knobs (HuiKnVaPairs0), 78-79 the jog ids 74 and 73
    (HuiJogVaPairs0), 89-97 faders and master fader (HuiFdknVaPairs0). */
extern const int HuiBtnMappIndex[104];
extern const int HuiKnoMappIndex[8];
extern const int HuiFadMappIndex[12];
extern const int HuiJogMappIndex[4];

/** The HUI button index of a control id 0-91 in "usrdef-hui" (used for the
    buttons and the jog halves). */
extern const int cid2BnAidHui[92];

//==============================================================================
// The bytes that the editor's value boxes offer in "usrdef-hui", by kind; the
// mapping file reader takes no other.
extern const juce::uint8 HuiBnV2[8];     // value2 of a button (0x40 OR port)
extern const juce::uint8 HuiFdknV1[2];   // value1 of a fader or the master fader
extern const juce::uint8 HuiKnV1[1];     // value1 of a knob
extern const juce::uint8 HuiJogV2[2];    // value2 of a jog half
constexpr juce::uint8 huiJogZone = 0x0D; // value1 of a jog half
constexpr int numHuiButtonZones = 30;    // value1 of a button: zones 0 to 29
constexpr int numHuiKnobValue2 = 8;      // value2 of a knob: 0 to 7
constexpr int numHuiFaderValue2 = 9;     // value2 of a fader or the master fader: 0 to 8

//==============================================================================
// Value lists of the function lists.
extern const unsigned char abletonLiveKnobValues[8];          // MCP knob list
extern const unsigned char abletonLiveFaderValues[16];        // MCP fader list
extern const unsigned char abletonLiveMasterFaderValues[2];   // MCP master-fader list
extern const unsigned char abletonLiveJogWheelValues[1];      // MCP jog list in zoom state 0

// Pro-tools indexes (the index of a record of protoolsMapping0).
extern const unsigned char protoolsButtonIndexes[101];
extern const unsigned char protoolsKnobIndexes[8];
extern const unsigned char protoolsFaderIndexes[16];
extern const unsigned char protoolsMasterFaderIndexes[2];
extern const unsigned char protoolsJogIndexesWhenZmN;         // the jog in zoom state 0
extern const unsigned char protoolsJogIndexesWhenZmLR[4];     // left, right in zoom state 1; then zoom state 2
extern const unsigned char protoolsButtonDefaults[24];        // default of the button positions 40-63

//==============================================================================
// Factory reload, called by CtMap when a map is built or reset.

/** Copies records 0-98 of cbBnAttrs0 into an MCP slot table (record 99 is not
    touched) and then sets data 1 of record 33 (control 52) to 84. */
void reloadMcpTable (unsigned char (&table)[100][4]) noexcept;

/** Copies knobVelos0 into knobVelos. */
void reloadKnobVelos() noexcept;

/** The reload of a new MCP-family map: cb, lg and nd, then knobVelos. */
void reloadMcpFamily() noexcept;

/** Copies records 0-118 of protoolsMapping0 into pt (record 119 is not touched). */
void reloadProtoolsTable() noexcept;

/** Fills HuiBnPairs, HuiFdknPairs, HuiKnPairs and HuiJogPairs with their
    default entries of the "usrdef-hui" pair lists. */
void reloadHuiPairTables() noexcept;

/** The factory pair of a row of HuiBnPairs and of HuiJogPairs, as
    reloadHuiPairTables() fills them; "pro-tools" sends these whatever the
    "usrdef-hui" map holds. */
const unsigned char* factoryHuiBnPair (int row) noexcept;
const unsigned char* factoryHuiJogPair (int row) noexcept;

/** The row of the "usrdef-hui" pair table that holds the (value1, value2)
    pair of a control bound with a kind (0 button, 1 knob, 2 jog-wheel, 3 fader,
    4 master-fader): HuiBnPairs by HUI button index, HuiKnPairs, HuiJogPairs
    (controls 73 and 74) or HuiFdknPairs. nullptr when the control has no row. */
unsigned char* huiPairRowFor (int kind, int cid) noexcept;

//==============================================================================
/** Entry `index` of a table, or `fallback` when the index lies outside it
    (which is a caller's mistake, so it also asserts). */
template <typename Element, size_t size>
Element tableAt (const Element (&table)[size], int index, Element fallback = {}) noexcept
{
    if (juce::isPositiveAndBelow (index, (int) size))
        return table[index];

    jassertfalse;
    return fallback;
}

/** Row `index` of a table of byte rows, or a row of zeros when the index lies
    outside it (asserting as tableAt does). */
template <size_t rows, size_t width>
const unsigned char* rowAt (const unsigned char (&table)[rows][width], int index) noexcept
{
    static_assert (width <= 4, "rows are slot records or pairs");
    static const unsigned char zeros[4] {};

    if (juce::isPositiveAndBelow (index, (int) rows))
        return table[index];

    jassertfalse;
    return zeros;
}
