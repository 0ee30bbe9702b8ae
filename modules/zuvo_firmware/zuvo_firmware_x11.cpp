// The module's code that talks to the X window system through the
// framework's connection. The framework's X headers come in here only: their
// macros would clash with names in the rest of the module.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include "upgrader/zuvo_WindowSizeHints.h"
#include "upgrader/zuvo_WindowSizeHints_x11.cpp"
#include "upgrader/zuvo_DialogOwnerHint.h"
#include "upgrader/zuvo_DialogOwnerHint_x11.cpp"
#include "upgrader/zuvo_WindowFramePlacement.h"
#include "upgrader/zuvo_WindowFramePlacement_x11.cpp"
