/*
  BEGIN_JUCE_MODULE_DECLARATION

   ID:                 zuvo_core
   vendor:             zuvo
   version:            1.0.0
   name:               Zuvo core
   description:        Product registry, network check, MIDI wire helpers and a
                       string-joining function.
   license:            GPL/Commercial
   minimumCppStandard: 17

   dependencies:       juce_core juce_events juce_data_structures juce_audio_basics midi_ports

  END_JUCE_MODULE_DECLARATION
*/

#pragma once

#include <juce_core/juce_core.h>
#include <juce_events/juce_events.h>
#include <juce_data_structures/juce_data_structures.h>
#include <juce_audio_basics/juce_audio_basics.h>
#include <midi_ports/midi_ports.h>

#include "text/zuvo_strcat.h"
#include "text/zuvo_UntrustedXml.h"
#include "midi/zuvo_MidiWire.h"
#include "network/zuvo_HttpReader.h"
#include "network/zuvo_Network.h"
#include "products/zuvo_Product.h"
