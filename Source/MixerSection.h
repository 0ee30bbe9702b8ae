#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "Buttons.h"

//==============================================================================
/**
    The layer of the unit picture over the eight channel strips: one mappable
    button per strip control (knob, knob push, SEL, MUTE, SOLO, REC, fader, fader
    touch), each with a label that shows what the control sends, and a strip
    number label per strip.

    It draws nothing and handles no clicks: the owner listens to its buttons and
    walks its children by index, so the child order is fixed (labels below
    buttons). Message thread only.
*/
class MixerSection : public juce::Component,
                     public juce::Button::Listener
{
public:
    MixerSection();
    ~MixerSection() override;

    /** Binds every button to its control in the current map and sets kinds and
        colours; in the MCP-family modes the buttons' "value" is taken from the
        slot table.
    */
    void setButtonTypes();

    /** @internal */
    void paint (juce::Graphics&) override;
    /** @internal */
    void resized() override;
    /** @internal */
    void buttonClicked (juce::Button*) override;

private:
    // Eight controls per strip with a button and a label each, and the strip
    // number with a label only.
    static constexpr int numStrips = 8, numButtonRows = 8, numLabelRows = 9;

    juce::OwnedArray<juce::Component> children;
    juce::Label* labels[numLabelRows][numStrips] {};
    MappableButton* buttons[numButtonRows][numStrips] {};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MixerSection)
};
