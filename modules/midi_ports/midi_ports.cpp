#ifdef MIDI_PORTS_H_INCLUDED
 #error "Incorrect use of a module cpp file"
#endif

#include "midi_ports.h"

#include "ports/midiports_Ports.cpp"
#include "virtual/midiports_VirtualBackend.cpp"
#include "virtual/midiports_SimulatedLoader.cpp"
#include "virtual/midiports_SimulatedUnit.cpp"
