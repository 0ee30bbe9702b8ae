#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include "ControllerMap.h"

/** The protocol (0 MCP, 1 HUI) of the last user-defined mode made current
    through VtrPlus::setPtcl; 0 at start. */
extern int g_LasPtcl4Usdf;

/** The device object: the maps of the five control modes (one "modes" value
    tree), the current mode, the chosen MIDI output, the mapping files and the
    mapping transfer.

    The application reaches the one instance through singletonHolder, which
    creates it on the first get() and never again after deleteInstance().
    Creating it builds the five factory maps and makes "mackie" current;
    destroying it writes every map into the settings file (nothing reads that
    file back).

    The settings file is "VtrPlus.conf" in the framework's compressed binary
    format, common to all users: on Linux /var/ZuvoAudio/VtrPlus/VtrPlus.conf.
    When the environment variable VTR_SETTINGS_DIR names a folder, the file goes
    there instead (same name and format); setSettingsFolder() overrides both.
    A location that cannot be written is skipped without a word.

    Message thread only.
*/
class VtrPlus
{
public:
    VtrPlus();
    virtual ~VtrPlus();

    static juce::SingletonHolder<VtrPlus, juce::CriticalSection, true> singletonHolder;

    //==============================================================================
    /** A handle that shares the current map: edits through it change the stored map. */
    CtMap getCurrentMap() const;

    /** The mode of the current map (0 when there is no valid current map). */
    CtMode getCurrentCtMode() const;

    /** The current map's "protocol" (0 when missing). */
    int getCurrPtcl() const;

    /** Makes the map of this mode current; its protocol is not touched. */
    void setCtMode (CtMode mode);

    /** Sets the current map's protocol from its mode (the argument is the same
        value by contract) and, in a user-defined mode, g_LasPtcl4Usdf. */
    void setPtcl (int protocol);

    /** The product ID of the unit shown: 156 the controller, 161 the extender. */
    void setPID (int pid);
    int getPID() const;

    /** The MIDI output to send to; it is opened only by sendCurrentMapping(). */
    void setCurrentOutputDevice (const juce::String& name);

    /** The modes tree, for reading: one map per mode and "current". */
    juce::ValueTree getModesTree() const;

    //==============================================================================
    /** Reads a mapping file in place of the stored map of its mode and makes
        that mode current, with the mode's protocol. Fails with "Could not load
        mapping data", changing nothing, when the file is not a map of one of
        the five modes, holds a value that the editor cannot write for that
        control (holdsOnlyWhatTheEditorWrites), or when it, or a file that its
        map may save to once edited, would be longer than maxMappingFileBytes. */
    juce::Result openFile (const juce::File& file);

    /** The longest mapping file that loads: far above the 10 KB of a map that
        the editor writes, and short enough that loading, saving and the
        settings write at exit stay quick. */
    static constexpr int maxMappingFileBytes = 128 * 1024;

    /** Writes the current map as a mapping file; fails with "Could not save
        current mapping to disk" or "Failed to write mapping file". */
    juce::Result saveCurrentMapping (const juce::File& file);

    /** Sends the current map to the chosen output; blocks for about 300 ms. */
    juce::Result sendCurrentMapping();

    //==============================================================================
    /** Puts the settings file of objects created from now on into this folder
        (File() goes back to VTR_SETTINGS_DIR or the machine-wide folder). */
    static void setSettingsFolder (const juce::File& folder);

    class Impl;

private:
    std::unique_ptr<Impl> impl;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VtrPlus)
};

namespace Defa
{
    /** Data 1 of the control's slot record in the slot table of the current map's mode. */
    int getMsVal (int cid);
}
