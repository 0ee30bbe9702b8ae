#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Tells the window system that the desktop window's size is both its smallest
    and its largest, so that a window manager neither resizes nor maximises it
    (nor lets it be resized from outside). size is in the window's logical
    pixels. The framework sets such limits for a window that the user cannot
    resize, but drops them again whenever it moves or sizes the window itself;
    call this after each such change. Does nothing where the window has no
    native peer. */
void holdWindowSize (juce::Component& desktopWindow, juce::Rectangle<int> size);
