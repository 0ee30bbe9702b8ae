#include "SimulatedStudio.h"

SimulatedStudio::SimulatedStudio()
    : backend (midiports::VirtualBackend::withStandardUnits()),
      controller (backend->getUnit (0)),
      extender (backend->getUnit (1)),
      inForce (backend)
{
}
