#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include "Shared.h"

/** The controller map of one control mode: what each of the unit's 89
    controls sends in that mode.

    A CtMap is a handle on a "map" value tree: copies, and maps built from the
    same tree, are one map, and an edit through any of them is seen by all.
    Building a map of a mode, or resetting one, also reloads the process-wide
    slot tables of its mode family, the unit's image of the map.

    Message thread only (the slot tables are unguarded).
*/
class CtMap
{
public:
    /** A new map of the mode with its factory assignment. Building any of the
        three MCP-family maps reloads all three MCP slot tables and knobVelos. */
    explicit CtMap (CtMode mode);

    /** A handle on an existing map tree, which is neither changed nor checked. */
    explicit CtMap (const juce::ValueTree& mapTree);

    /** Rebuilds the skeleton: the mode's three properties (keeping the mode)
        and 89 blank controls, replacing whatever "controls" held. */
    void addMissingProperties();

    /** Reloads the slot tables of the map's own mode and writes the factory
        assignment into every control. The edits that nd and knobVelos hold for
        the "usrdef-mcp" map are reloaded only when this is that map. */
    void setDefaultValues();

    /** The editor's reset of a map: the same as setDefaultValues(). */
    void reset();

    /** The child at this index of "controls", or an invalid tree. */
    juce::ValueTree getControl (int index) const;

    /** The first control whose "id" is this number (a text id must be its plain
        decimal form: "05" is not 5), or an invalid tree. */
    juce::ValueTree getControlById (int id) const;

    /** The mode that the "mode" property names (trimmed; anything else is 0). */
    CtMode getCtMode() const;

    juce::ValueTree tree;

private:
    enum class Reload { wholeFamily, ownTable };
    void applyFactoryAssignment (Reload);
};
