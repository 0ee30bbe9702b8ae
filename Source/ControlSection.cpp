#include "ControlSection.h"

#include "Defa.h"
#include "VtrPlus.h"

namespace
{
    enum class Child { caption, label, button };

    /** One child of the section, in child order. Labels name the control id of
        the button they are attached to; captions have none.
    */
    struct ChildLayout
    {
        Child child;
        int controlId;
        const char* text;
        juce::Rectangle<int> bounds;
        float fontHeight;
    };

    // The jog halves carry the ids 73 and 74 here; the zoom states rebind them.
    const ChildLayout childLayouts[] =
    {
        { Child::caption, 0,  "(M)",    {  29, 194, 28, 15 }, 15.0f },
        { Child::label,   85, "Vol.M",  {  -5, 271, 49, 15 }, 13.0f },
        { Child::label,   53, "Tou.M",  {  -5, 392, 49, 15 }, 13.0f },
        { Child::label,   52, "Sel.M",  {  34, 288, 49, 15 }, 13.0f },
        { Child::label,   51, "Mute.M", {  34, 332, 49, 15 }, 13.0f },
        { Child::label,   50, "Solo.M", {  34, 377, 49, 15 }, 13.0f },
        { Child::caption, 0,  "Lock",   {  34, 417, 49, 15 }, 13.0f },
        { Child::button,  53, "",       {   4, 353, 29, 33 }, 0 },
        { Child::button,  52, "",       {  42, 258, 33, 34 }, 0 },
        { Child::button,  51, "",       {  42, 302, 33, 34 }, 0 },
        { Child::button,  50, "",       {  42, 347, 33, 34 }, 0 },
        { Child::button,  49, "",       {  46, 392, 26, 26 }, 0 },
        { Child::button,  54, "",       {  97,  67, 33, 34 }, 0 },
        { Child::button,  55, "",       { 147,  67, 33, 34 }, 0 },
        { Child::button,  56, "",       {  97, 113, 33, 34 }, 0 },
        { Child::button,  57, "",       { 147, 113, 33, 34 }, 0 },
        { Child::button,  58, "",       {  97, 159, 33, 34 }, 0 },
        { Child::button,  59, "",       { 147, 159, 33, 34 }, 0 },
        { Child::button,  60, "",       {  97, 205, 33, 34 }, 0 },
        { Child::button,  61, "",       { 147, 205, 33, 34 }, 0 },
        { Child::button,  62, "",       {  97, 250, 33, 34 }, 0 },
        { Child::button,  63, "",       { 147, 250, 33, 34 }, 0 },
        { Child::button,  73, "",       {  94, 332, 47, 59 }, 0 },
        { Child::button,  74, "",       { 140, 332, 47, 59 }, 0 },
        { Child::button,  64, "",       {  96, 390, 88, 33 }, 0 },
        { Child::button,  75, "",       { 101, 299, 26, 26 }, 0 },
        { Child::button,  76, "",       { 150, 299, 26, 26 }, 0 },
        { Child::label,   54, "1<",     {  89,  53, 49, 15 }, 15.0f },
        { Child::label,   55, ">1",     { 139,  53, 49, 15 }, 15.0f },
        { Child::label,   56, "<<8",    {  89,  99, 49, 15 }, 15.0f },
        { Child::label,   57, "8>>",    { 139,  99, 49, 15 }, 15.0f },
        { Child::label,   58, "<<",     {  89, 145, 49, 15 }, 15.0f },
        { Child::label,   59, ">>",     { 139, 145, 49, 15 }, 15.0f },
        { Child::label,   60, ">",      {  89, 191, 49, 15 }, 15.0f },
        { Child::label,   61, "[]",     { 139, 191, 49, 15 }, 15.0f },
        { Child::label,   62, "Record", {  89, 236, 49, 15 }, 15.0f },
        { Child::label,   63, "Loop",   { 139, 236, 49, 15 }, 15.0f },
        { Child::button,  85, "",       {   4, 295, 29, 59 }, 0 },
    };

    const juce::Colour selectedColour { 0x706655A8 };
    const juce::Colour visibleTextColour { 0xFFD0FFFF };
    const juce::Colour masterButtonColour { 0x20404040 };
    const juce::Colour jogAndZoomColour { 0x28404040 };

    void setColours (MappableButton& b, juce::Colour fill, juce::Colour text, bool textOnToo)
    {
        b.setColour (juce::TextButton::textColourOffId, text);

        if (textOnToo)
            b.setColour (juce::TextButton::textColourOnId, text);

        b.setColour (juce::TextButton::buttonColourId, fill);
        b.setColour (juce::TextButton::buttonOnColourId, selectedColour);
        b.setAlpha (1.0f);
    }

    void bindJogOrZoom (MappableButton& b, int kind, const juce::ValueTree& control, bool isZoomButton)
    {
        b.kind = kind;
        b.setMapping (control);

        if (isZoomButton)
            setColours (b, jogAndZoomColour, juce::Colours::transparentBlack, true);
        else
            setColours (b, jogAndZoomColour, visibleTextColour, false);
    }
}

//==============================================================================
ControlSection::ControlSection()
{
    setName ("ControlSection");

    for (const auto& layout : childLayouts)
    {
        if (layout.child == Child::button)
        {
            const auto id = layout.controlId;
            auto* b = new MappableButton (id == 85 ? "new button" : "");
            children.add (b);
            b->setButtonText ({});
            b->addListener (this);

            // Control 49 cannot be selected on screen.
            if (id == 49)
                b->setInterceptsMouseClicks (false, false);

            addAndMakeVisible (b);

            switch (id)
            {
                case 73: jogButtonL = b; break;
                case 74: jogButtonR = b; break;
                case 75: zoomButton1 = b; break;
                case 76: zoomButton2 = b; break;
                case 85: masterFader = b; break;
                default: buttonForId[id - firstStripButtonId] = b; break;
            }
        }
        else
        {
            auto* label = new juce::Label ("new label", layout.text);
            children.add (label);
            label->setFont (juce::Font (layout.fontHeight, juce::Font::plain).withTypefaceStyle ("Regular"));
            label->setJustificationType (juce::Justification::centred);
            label->setEditable (false, false, false);
            label->setColour (juce::Label::textColourId, juce::Colours::black);
            label->setColour (juce::Label::backgroundColourId,
                              juce::Colour (layout.child == Child::caption ? 0x00000000u : 0x0AFFFFFFu));
            addAndMakeVisible (label);

            if (layout.controlId == 85)
                masterFaderLabel = label;
            else if (layout.controlId != 0)
                labelForId[layout.controlId - firstStripButtonId] = label;
        }
    }

    setSize (600, 400);
    setButtonTypes();
}

ControlSection::~ControlSection()
{
    children.removeObject (masterFader);
}

void ControlSection::setButtonTypes()
{
    const auto map = VtrPlus::singletonHolder.get()->getCurrentMap();
    const auto mode = VtrPlus::singletonHolder.get()->getCurrentCtMode();
    const auto modeNumber = (int) mode;
    const auto valuesFollowSlotTable = modeNumber == 0 || modeNumber == 1 || modeNumber == 3;

    for (int id = firstStripButtonId; id <= lastStripButtonId; ++id)
    {
        auto& b = *buttonForId[id - firstStripButtonId];
        b.attachedLabel = labelForId[id - firstStripButtonId];
        b.setMapping (map.getControlById (id));

        // In the MCP family the slot table decides a switch's "value"; in the
        // HUI modes the map keeps the function number it holds.
        if (valuesFollowSlotTable)
            b.setValue (Defa::getMsVal (id));

        if (id == 49)
            setColours (b, masterButtonColour, juce::Colours::transparentBlack, true);
        else
            setColours (b, masterButtonColour, visibleTextColour, false);
    }

    masterFader->attachedLabel = masterFaderLabel;
    masterFader->kind = 4;
    masterFader->setMapping (map.getControlById (85));
    masterFader->setAlpha (1.0f);
    masterFader->setColour (juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
    masterFader->setColour (juce::TextButton::buttonOnColourId, selectedColour);

    bindJogOrZoom (*zoomButton1, 0, map.getControlById (75), true);
    bindJogOrZoom (*zoomButton2, 0, map.getControlById (76), true);

    // Each jog control takes the value of its own state, through a half bound to it.
    for (auto id : { 86, 87, 88, 89, 73, 74 })
    {
        auto& half = *(id == 73 || id == 86 || id == 88 ? jogButtonL : jogButtonR);
        bindJogOrZoom (half, (int) Defa::kindForCid (id), map.getControlById (id), false);
        half.setValue (jogValueFor (mode, id));
    }

    bindJogHalves();
}

void ControlSection::bindJogHalves()
{
    const auto map = VtrPlus::singletonHolder.get()->getCurrentMap();
    const auto* ids = zomjog2cid[juce::jlimit (0, 2, isZoomNorLR)];

    bindJogOrZoom (*jogButtonL, (int) Defa::kindForCid (ids[0]), map.getControlById (ids[0]), false);
    bindJogOrZoom (*jogButtonR, (int) Defa::kindForCid (ids[1]), map.getControlById (ids[1]), false);
}

void ControlSection::paint (juce::Graphics&) {}

void ControlSection::resized()
{
    for (int i = 0; i < children.size(); ++i)
        children[i]->setBounds (childLayouts[i].bounds);
}

void ControlSection::buttonClicked (juce::Button*) {}
