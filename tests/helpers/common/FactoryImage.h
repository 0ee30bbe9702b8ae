#pragma once

#include <Shared.h>

/** The properties that the factory rules give one control, without a map. */
struct FactoryControl
{
    int value1, value2, value;
    juce::String type;
    int chan, velo;
};

/** Reloads every process-wide table to the factory image that the five map
    builds at start leave behind. */
void reloadFactoryImage();

/** Applies the factory rules to a control of a mode in the order the map
    build does, reading the tables as they are now. */
FactoryControl factoryControl (int mode, int cid);

/** Sets the jog view state for a scope and puts the previous state back. */
struct ScopedViewState
{
    ScopedViewState (int zoomState, int jogHalf);
    ~ScopedViewState();

    const int previousZoomState, previousJogHalf;
};
