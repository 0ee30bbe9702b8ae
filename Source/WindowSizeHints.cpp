#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "WindowSizeHints.h"

void holdWindowSize ([[maybe_unused]] juce::Component& desktopWindow)
{
   #if JUCE_LINUX || JUCE_BSD
    if (auto* peer = desktopWindow.getPeer())
        juce::XWindowSystem::getInstance()->updateConstraints ((::Window) peer->getNativeHandle());
   #endif
}
