#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "Buttons.h"

//==============================================================================
/**
    The layer of the unit picture over the controller's master section: master
    fader and its touch sensor, master-strip, bank, channel, transport and scrub
    buttons, the two zoom buttons and the two halves of the jog wheel.

    It draws nothing and handles no clicks; the owner listens to its buttons,
    walks its children by index and reaches the zoom and jog buttons through the
    public members. The button of control 49 takes no mouse clicks.
    Message thread only.
*/
class ControlSection : public juce::Component,
                       public juce::Button::Listener
{
public:
    ControlSection();
    ~ControlSection() override;

    /** Binds the buttons to their controls in the current map, sets kinds and
        colours, and writes "value" of each jog control (73, 74, 86 to 89) from
        its own state's assignment and, in the MCP-family modes, of 49 to 64 from
        the slot table. Afterwards the jog halves stand for the current zoom
        state (bindJogHalves).
    */
    void setButtonTypes();

    /** Binds the jog halves to the controls of the current zoom state: 73 and
        74 (the jog's normal state, kind jog-wheel), 86 and 87, or 88 and 89
        (kind button). Each of these controls owns its own assignment, so the
        zoom state only chooses which of them the halves show and edit.
    */
    void bindJogHalves();

    /** @internal */
    void paint (juce::Graphics&) override;
    /** @internal */
    void resized() override;
    /** @internal */
    void buttonClicked (juce::Button*) override;

    //==============================================================================
    // Children owned by the section.
    MappableButton* zoomButton1 = nullptr;  // control 75
    MappableButton* zoomButton2 = nullptr;  // control 76
    MappableButton* jogButtonL = nullptr;   // control 73 (86, 88 in the zoom states)
    MappableButton* jogButtonR = nullptr;   // control 74 (87, 89 in the zoom states)
    MappableButton* masterFader = nullptr;  // control 85

private:
    static constexpr int firstStripButtonId = 49, lastStripButtonId = 64;

    juce::OwnedArray<juce::Component> children;
    MappableButton* buttonForId[lastStripButtonId - firstStripButtonId + 1] {};
    juce::Label* labelForId[lastStripButtonId - firstStripButtonId + 1] {};
    juce::Label* masterFaderLabel = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControlSection)
};
