#pragma once

#include <midi_ports/midi_ports.h>

/** A simulated controller ("Vantor M+ MIDI 1", product 156) and extender
    ("Vantor X+ MIDI 1", product 161) on an in-memory MIDI backend, which is in
    force for the lifetime of the object; the backend in force before comes
    back afterwards, also when a test fails.

    Add plain ports or faults through `backend`; read what a unit received, or
    switch its modes and faults, through `controller` and `extender`.
    Create it on the message thread while no port is open.
*/
struct SimulatedStudio
{
    SimulatedStudio();

    const std::shared_ptr<midiports::VirtualBackend> backend;
    midiports::SimulatedUnit& controller;
    midiports::SimulatedUnit& extender;

private:
    const midiports::ScopedBackend inForce;
};
