#pragma once

#include <juce_core/juce_core.h>
#include <juce_data_structures/juce_data_structures.h>

//==============================================================================
/** A control mode of the unit, 0 to 4: "mackie", "logic", "pro-tools",
    "usrdef-mcp", "usrdef-hui". The number also picks the mode's slot table
    (arrForMoid).
*/
class CtMode
{
public:
    CtMode (int modeNumber = 0) noexcept : value (modeNumber) {}

    /** Parses a slug after trimming white space; the match is exact and
        case-sensitive, and anything else gives mode 0. */
    explicit CtMode (const juce::String& slug);

    operator int() const noexcept { return value; }

    /** "mackie" ... "usrdef-hui"; the empty string outside 0-4. */
    static juce::String slugForType (int modeNumber);

    /** "Mackie", "Logic Pro", "Pro Tools", "User Define", "User Define";
        the empty string outside 0-4. */
    static juce::String nameForType (int modeNumber);

    /** 1 (HUI) for "pro-tools" and "usrdef-hui", 0 (MCP) for any other mode. */
    static int protocolForType (int modeNumber) noexcept;

private:
    int value;
};

//==============================================================================
/** The kind of a control: 0 "button", 1 "knob", 2 "jog-wheel", 3 "fader",
    4 "master-fader".
*/
class CtKind
{
public:
    CtKind (int kindNumber = 0) noexcept : value (kindNumber) {}

    /** Parses a slug exactly as given (no trimming); anything else gives 0. */
    explicit CtKind (const juce::String& slug);

    operator int() const noexcept { return value; }

    /** The slug of a kind; the empty string outside 0-4. */
    static juce::String slugForType (int kindNumber);

private:
    int value;
};

//==============================================================================
/** The message type of a control as the map stores it: 0 "note", 1 "cc",
    2 "pitch", 3 "null". In the slot tables a message type is a status nibble
    instead (9, 11, 14 or 0); Defa::getMsgType and Defa::getMstyForSel convert.
*/
class CtType
{
public:
    CtType (int typeNumber = 0) noexcept : value (typeNumber) {}

    /** Parses a slug exactly as given (no trimming); anything else gives 0. */
    explicit CtType (const juce::String& slug);

    operator int() const noexcept { return value; }

    /** The slug of a type; the empty string outside 0-3. */
    static juce::String slugForType (int typeNumber);

private:
    int value;
};

//==============================================================================
/** The names of the map trees: types and properties, also the element and
    attribute names of the mapping file and the settings file.
*/
namespace Tags
{
    extern const juce::Identifier modes;    // "modes"
    extern const juce::Identifier curr;     // "current"
    extern const juce::Identifier map;      // "map"
    extern const juce::Identifier mode;     // "mode"
    extern const juce::Identifier name;     // "name"
    extern const juce::Identifier ptcl;     // "protocol"
    extern const juce::Identifier controls; // "controls"
    extern const juce::Identifier control;  // "control"
    extern const juce::Identifier cid;      // "id"
    extern const juce::Identifier kind;     // "kind"
    extern const juce::Identifier type;     // "type"
    extern const juce::Identifier chan;     // "chan"
    extern const juce::Identifier value;    // "value"
    extern const juce::Identifier v1;       // "value1"
    extern const juce::Identifier v2;       // "value2"
    extern const juce::Identifier velo;     // "velo"
}

//==============================================================================
/** The editor's view state, zero at start and written only by the editor.
    isZoomNorLR: the jog wheel's zoom state, 0 normal, 1 left/right, 2 up/down;
    it moves the slots, positions and function lists of the jog ids 73 and 74.
    isJogLorR: the current jog half, 0 left, 1 right.
    displayingExpander: the editor shows the extender rather than the controller.
*/
extern int isZoomNorLR;
extern int isJogLorR;
extern bool displayingExpander;

//==============================================================================
namespace Defa
{
    /** The CtKind value of a control id; ids of no other kind (0, negative,
        75, 76, 86 and above) are buttons. */
    int kindForCid (int cid) noexcept;

    /** The position of a control within its kind, the index of the factory
        rules and function lists, or -1 (ids below 1, and the jog ids in an
        unknown zoom state). Reads the view state for the jog ids 73 and 74. */
    int indexForId (int cid) noexcept;
}
