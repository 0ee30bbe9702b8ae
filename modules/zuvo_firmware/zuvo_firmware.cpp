#ifdef ZUVO_FIRMWARE_H_INCLUDED
 #error "Incorrect use of a module cpp file"
#endif

#include "zuvo_firmware.h"

#include "upgrader/zuvo_WindowSizeHold.cpp"
#include "upgrader/zuvo_ContentSizedDialog.cpp"
#include "upgrader/zuvo_LoaderProtocol.cpp"
#include "upgrader/zuvo_DeviceHelpers.cpp"
#include "upgrader/zuvo_DeviceSelectComponent.cpp"
#include "upgrader/zuvo_FirmwareSelectComponent.cpp"
#include "upgrader/zuvo_FirmwareUpgradeComponent.cpp"
#include "upgrader/zuvo_MidiInputHandler.cpp"
#include "upgrader/zuvo_WizardSteps.cpp"
#include "upgrader/zuvo_FirmwareUpgrade.cpp"
