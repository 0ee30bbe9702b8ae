#include "MixerSection.h"

#include "Defa.h"
#include "VtrPlus.h"

namespace
{
    /** The controls of one strip, in the order of `rowLayouts`. */
    enum Row { knob, knobPush, sel, mute, solo, rec, fader, touch, stripNumber };

    constexpr int stripSpacing = 94;

    const juce::Colour selectedColour { 0x706655A8 };
    const juce::Colour faintLabelBackground { 0x0AFFFFFF };

    /** Where and how one control of strip 1 is laid out; each further strip lies
        `stripSpacing` pixels further right.
    */
    struct RowLayout
    {
        int firstControlId;             // control id in strip 1; 0: no button
        int kind;                       // written into the button; -1: left as built
        juce::Rectangle<int> button;
        const char* buttonName;         // "%d" takes the strip number
        const char* labelText;          // placeholder; "%d" takes the strip number
        juce::Rectangle<int> label;
        float fontHeight;
        bool faintBackground;
    };

    const RowLayout rowLayouts[] =
    {
        { 65,  1, { 27,  71, 53, 32 }, "pan%d",      "Pan. 1",    { 27,  47, 51, 24 }, 15.0f, false },
        { 33, -1, { 28, 102, 50, 21 }, "new button", "Mon1",      { 28, 118, 51, 24 }, 15.0f, false },
        { 25, -1, { 76, 216, 33, 34 }, "new button", "tagSela%d", { 68, 246, 49, 15 }, 13.0f, true },
        { 17, -1, { 76, 260, 33, 34 }, "new button", "tagMutb%d", { 68, 290, 49, 15 }, 13.0f, true },
        {  9, -1, { 76, 305, 33, 34 }, "new button", "tagSolc%d", { 68, 335, 49, 15 }, 13.0f, true },
        {  1, -1, { 80, 350, 26, 26 }, "new button", "tagRec%d",  { 68, 375, 49, 15 }, 13.0f, true },
        { 77,  3, { 38, 253, 29, 59 }, "new button", "tagVol%d",  { 29, 229, 49, 15 }, 15.0f, true },
        { 41, -1, { 38, 311, 29, 33 }, "new button", "tagTou%d",  { 29, 350, 49, 15 }, 15.0f, true },
        {  0, -1, {},                  "",           "(%d)",      { 63, 152, 28, 15 }, 15.0f, false },
    };

    struct ChildRef
    {
        Row row;
        int strip;                      // 0 to 7
    };

    using Order = std::vector<ChildRef>;

    void addStrips (Order& order, Row row, int first, int last)
    {
        for (int strip = first; strip <= last; ++strip)
            order.push_back ({ row, strip });
    }

    /** The labels in the order in which the section adds them. */
    Order labelOrder()
    {
        Order order;

        for (auto row : { fader, touch, sel, mute, solo, rec })
            addStrips (order, row, 0, 7);

        addStrips (order, knob, 0, 0);
        addStrips (order, knobPush, 0, 0);
        addStrips (order, knob, 1, 6);
        addStrips (order, knobPush, 1, 6);
        addStrips (order, stripNumber, 0, 6);

        for (auto row : { knob, knobPush, stripNumber })
            addStrips (order, row, 7, 7);

        return order;
    }

    /** The buttons in the order in which the section adds them, above all labels. */
    Order buttonOrder()
    {
        Order order;
        addStrips (order, knob, 0, 0);
        addStrips (order, knobPush, 0, 0);
        addStrips (order, touch, 0, 7);
        addStrips (order, rec, 0, 0);
        addStrips (order, fader, 0, 7);

        for (int strip = 1; strip < 8; ++strip)
            for (auto row : { knob, knobPush })
                addStrips (order, row, strip, strip);

        for (auto row : { solo, mute, sel })
            addStrips (order, row, 0, 0);

        for (int strip = 1; strip < 8; ++strip)
            for (auto row : { rec, solo, mute, sel })
                addStrips (order, row, strip, strip);

        return order;
    }

    juce::Rectangle<int> inStrip (juce::Rectangle<int> r, int strip)
    {
        return r.translated (stripSpacing * strip, 0);
    }
}

//==============================================================================
MixerSection::MixerSection()
{
    for (auto ref : labelOrder())
    {
        const auto& layout = rowLayouts[ref.row];
        auto text = juce::String::formatted (layout.labelText, ref.strip + 1);

        if (ref.row == stripNumber)
            text = TRANS (text);

        auto* label = new juce::Label ("new label", text);
        children.add (label);
        label->setFont (juce::Font (layout.fontHeight, juce::Font::plain).withTypefaceStyle ("Regular"));
        label->setJustificationType (juce::Justification::centred);
        label->setEditable (false, false, false);
        label->setColour (juce::Label::textColourId, juce::Colours::black);

        if (layout.faintBackground)
        {
            label->setColour (juce::Label::backgroundColourId, faintLabelBackground);
        }
        else
        {
            label->setColour (juce::TextEditor::textColourId, juce::Colours::black);
            label->setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x00000000));
        }

        addAndMakeVisible (label);
        labels[ref.row][ref.strip] = label;
    }

    for (auto ref : buttonOrder())
    {
        // Only the first fader touch carries the generated name.
        const auto name = (ref.row == touch && ref.strip > 0)
                              ? juce::String()
                              : juce::String::formatted (rowLayouts[ref.row].buttonName, ref.strip + 1);

        auto* b = new MappableButton (name);
        children.add (b);
        b->setButtonText ({});
        b->addListener (this);
        addAndMakeVisible (b);
        buttons[ref.row][ref.strip] = b;
    }

    setButtonTypes();
    setSize (600, 400);
}

MixerSection::~MixerSection() = default;

void MixerSection::setButtonTypes()
{
    const auto map = VtrPlus::singletonHolder.get()->getCurrentMap();
    const auto mode = (int) VtrPlus::singletonHolder.get()->getCurrentCtMode();
    const auto valuesFollowSlotTable = mode == 0 || mode == 1 || mode == 3;

    // Knobs, faders, then the switches with ids 1 to 48 in ascending order.
    for (auto row : { knob, fader, rec, solo, mute, sel, knobPush, touch })
    {
        const auto& layout = rowLayouts[row];

        for (int strip = 0; strip < numStrips; ++strip)
        {
            const auto id = layout.firstControlId + strip;
            auto& b = *buttons[row][strip];

            b.attachedLabel = labels[row][strip];

            if (layout.kind >= 0)
                b.kind = layout.kind;

            b.setMapping (map.getControlById (id));

            // In the MCP family the slot table decides a switch's "value"; in the
            // HUI modes the map keeps the function number it holds.
            if (layout.kind < 0 && valuesFollowSlotTable)
                b.setValue (Defa::getMsVal (id));

            b.setAlpha (1.0f);
            b.setColour (juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
            b.setColour (juce::TextButton::buttonOnColourId, selectedColour);
        }
    }
}

void MixerSection::paint (juce::Graphics&) {}

void MixerSection::resized()
{
    for (int row = 0; row < numLabelRows; ++row)
    {
        for (int strip = 0; strip < numStrips; ++strip)
        {
            labels[row][strip]->setBounds (inStrip (rowLayouts[row].label, strip));

            if (row < numButtonRows)
                buttons[row][strip]->setBounds (inStrip (rowLayouts[row].button, strip));
        }
    }
}

void MixerSection::buttonClicked (juce::Button*) {}
