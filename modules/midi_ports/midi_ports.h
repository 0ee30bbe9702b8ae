/*
  BEGIN_JUCE_MODULE_DECLARATION

   ID:                 midi_ports
   vendor:             vantor-rilo
   version:            1.0.0
   name:               MIDI port layer
   description:        The MIDI ports the system talks through: the framework's MIDI
                       classes, or an in-memory backend that hosts simulated units.
   license:            GPL/Commercial
   minimumCppStandard: 17

   dependencies:       juce_audio_devices

  END_JUCE_MODULE_DECLARATION
*/

#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "ports/midiports_Ports.h"
#include "virtual/midiports_VirtualBackend.h"
#include "virtual/midiports_SimulatedLoader.h"
#include "virtual/midiports_SimulatedUnit.h"
