/*
  BEGIN_JUCE_MODULE_DECLARATION

   ID:                 zuvo_firmware
   vendor:             zuvo
   version:            1.0.0
   name:               Zuvo firmware upgrader
   description:        The upgrade wizard, its device and firmware dialogs and the
                       loader protocol that streams a firmware image to a unit.
   license:            GPL/Commercial
   minimumCppStandard: 17

   dependencies:       juce_gui_basics zuvo_core

  END_JUCE_MODULE_DECLARATION
*/

#pragma once

#include <juce_gui_basics/juce_gui_basics.h>
#include <zuvo_core/zuvo_core.h>

#include "upgrader/zuvo_WindowSizeHints.h"
#include "upgrader/zuvo_DialogOwnerHint.h"
#include "upgrader/zuvo_WindowFramePlacement.h"
#include "upgrader/zuvo_ContentSizedDialog.h"
#include "upgrader/zuvo_LoaderProtocol.h"
#include "upgrader/zuvo_DeviceHelpers.h"
#include "upgrader/zuvo_DeviceSelectComponent.h"
#include "upgrader/zuvo_FirmwareSelectComponent.h"
#include "upgrader/zuvo_FirmwareUpgradeComponent.h"
#include "upgrader/zuvo_MidiInputHandler.h"
#include "upgrader/zuvo_FirmwareUpgrade.h"
