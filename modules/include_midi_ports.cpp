#include <midi_ports/midi_ports.cpp>
