#pragma once

#include <midi_ports/midi_ports.h>

#include "ControllerMap.h"

namespace Messages
{
    /** F0 1D 03, the product ID in two bytes, the protocol byte, the mode code, 7F F7. */
    juce::MidiMessage makeStart (int productId, int mode);

    /** 9E 7F 7F. */
    juce::MidiMessage makeEnd();
}

/** Sends every message of the block at once, back to back. */
void sendMidiBuffer (midiports::Output& output, const juce::MidiBuffer& block);

/** The mapping transfer: opens the MIDI output of this name (the first in the
    list; case counts), sets pid to the product ID of the unit shown (156, or
    161 while displayingExpander), sends EF 7F 7F, the start message for that
    product and the map's mode, the map's 98 six-byte records in nibble form,
    EF 7F 7F and the end message, paced by 297 ms of pauses in all, and closes
    the output. It blocks the calling thread for its duration.

    Each position reads the slot of its own control in the stream table, so a
    map that lacks the control still sends that slot. "pro-tools" is a factory
    mode: it always sends its factory image, whatever its map or the
    "usrdef-hui" pair tables hold.

    Fails with "No device selected", "<name>: device does not exist" or
    "<name>: could not open device"; it has then sent nothing and left pid
    alone. Once the output is open nothing is checked.
*/
juce::Result sendMapping (const juce::String& outputName, const CtMap& map, int& pid);
