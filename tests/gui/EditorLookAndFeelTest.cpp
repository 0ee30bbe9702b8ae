#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "EditorLookAndFeel.h"

namespace
{
/** The rectangle of the pixels brighter than the dark background: the text's ink. */
juce::Rectangle<int> inkOf (const juce::Image& image)
{
    juce::Rectangle<int> ink;
    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (pixels.getPixelColour (x, y).getBrightness() > 0.5f)
                ink = ink.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : ink.getUnion ({ x, y, 1, 1 });

    return ink;
}

/** White text on black, as the given component draws it with the editor's look. */
juce::Rectangle<int> inkOf (juce::Component& c, EditorLookAndFeel& look)
{
    c.setLookAndFeel (&look);
    const auto ink = inkOf (c.createComponentSnapshot (c.getLocalBounds()));
    c.setLookAndFeel (nullptr);
    return ink;
}

/** The ink of the text drawn whole on one line in the font, far from any edge. */
juce::Rectangle<int> wholeTextInk (const juce::String& text, const juce::Font& font)
{
    juce::Image image (juce::Image::RGB, 400, 100, true);
    juce::Graphics g (image);
    g.setColour (juce::Colours::white);
    g.setFont (font);
    g.drawSingleLineText (text, 50, 60);
    return inkOf (image);
}

struct Case
{
    const char* text;
    int width, height;
    bool fitsInItsFont;
};

// Texts of the jog halves (47 x 59, no label) and of the mixer's 49 x 15 labels.
const Case buttonCases[] = {
    { "CC60",       47, 59, true },
    { "D#(7)",      47, 59, true },
    { "Right?",     47, 59, true },
    { "Tape Tspt?", 47, 59, false },
    { "ErrMidiMsgType", 47, 59, false },
};

const Case labelCases[] = {
    { "PB.9",       49, 15, true },
    { "Touch.M",    49, 15, true },
    { "Tape Tspt?", 49, 15, false },
};

void expectWholeOnOneLine (const Case& c, juce::Rectangle<int> ink, const juce::Font& font, juce::Rectangle<int> area)
{
    SCOPED_TRACE (c.text);
    const auto whole = wholeTextInk (c.text, font);

    EXPECT_TRUE (area.contains (ink)) << ink.toString() << " outside " << area.toString();

    if (c.fitsInItsFont)
    {
        // Same height as in its own font; as wide, or squeezed no further than the limit.
        EXPECT_EQ (ink.getHeight(), whole.getHeight());
        EXPECT_LE (ink.getWidth(), whole.getWidth() + 1);
        EXPECT_GE ((float) ink.getWidth(), (float) whole.getWidth() * EditorLookAndFeel::minimumHorizontalScale - 2.0f);
    }
    else
    {
        // One line, in a smaller font, filling the room it has.
        EXPECT_LT (ink.getHeight(), whole.getHeight());
        EXPECT_GE (ink.getWidth(), area.getWidth() * 3 / 4);
    }
}
} // namespace

TEST (EditorLook, ButtonTextsStayWholeOnOneLine)
{
    EditorLookAndFeel look;

    for (const auto& c : buttonCases)
    {
        juce::TextButton button (c.text);
        button.setButtonText (c.text);
        button.setSize (c.width, c.height);
        button.setColour (juce::TextButton::buttonColourId, juce::Colours::black);
        button.setColour (juce::ComboBox::outlineColourId, juce::Colours::transparentBlack);
        button.setColour (juce::TextButton::textColourOffId, juce::Colours::white);

        const auto ink = inkOf (button, look);
        expectWholeOnOneLine (c, ink, look.getTextButtonFont (button, c.height), button.getLocalBounds());
    }
}

TEST (EditorLook, LabelTextsStayWholeOnOneLine)
{
    EditorLookAndFeel look;

    for (const auto& c : labelCases)
    {
        juce::Label label ({}, c.text);
        label.setFont (juce::Font (13.0f));
        label.setJustificationType (juce::Justification::centred);
        label.setSize (c.width, c.height);
        label.setColour (juce::Label::backgroundColourId, juce::Colours::black);
        label.setColour (juce::Label::textColourId, juce::Colours::white);

        const auto ink = inkOf (label, look);
        expectWholeOnOneLine (c, ink, label.getFont(), label.getBorderSize().subtractedFrom (label.getLocalBounds()));
    }
}

namespace
{
/** What the look draws over a grey ground: the framework's look and the editor's
    must give the same pixels wherever the editor's look leaves drawing out. */
template <typename Draw>
juce::Image drawnOverGround (Draw&& draw)
{
    juce::Image image (juce::Image::ARGB, 60, 30, true);
    juce::Graphics g (image);
    g.fillAll (juce::Colour (0xff808080));
    draw (g);
    return image;
}

bool samePixels (const juce::Image& a, const juce::Image& b)
{
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;

    return true;
}
} // namespace

TEST (EditorLook, ButtonBackgroundsAndLabelFramesAreTheFrameworksToThePixel)
{
    EditorLookAndFeel look;
    juce::LookAndFeel_V4 framework;

    struct ButtonCase { const char* what; juce::Colour fill, outline; bool highlighted, down; };

    const ButtonCase buttonCases[] = {
        { "transparent at rest",         juce::Colours::transparentBlack, juce::Colours::transparentBlack, false, false },
        { "transparent under the mouse", juce::Colours::transparentBlack, juce::Colours::transparentBlack, true,  false },
        { "transparent and pressed",     juce::Colours::transparentBlack, juce::Colours::transparentBlack, false, true  },
        { "transparent with an outline", juce::Colours::transparentBlack, juce::Colours::white,            false, false },
        { "faint fill",                  juce::Colour (0x20404040),       juce::Colours::transparentBlack, false, false },
    };

    for (const auto& c : buttonCases)
    {
        SCOPED_TRACE (c.what);
        juce::TextButton button;
        button.setSize (50, 20);
        button.setColour (juce::ComboBox::outlineColourId, c.outline);

        const auto drawnBy = [&] (juce::LookAndFeel& l)
        {
            return drawnOverGround ([&] (juce::Graphics& g) { l.drawButtonBackground (g, button, c.fill, c.highlighted, c.down); });
        };

        EXPECT_TRUE (samePixels (drawnBy (look), drawnBy (framework)));
    }

    for (auto outline : { juce::Colours::transparentBlack, juce::Colours::white })
    {
        SCOPED_TRACE (outline.toDisplayString (true));
        juce::Label label;
        label.setSize (50, 20);
        label.setColour (juce::Label::backgroundColourId, juce::Colour (0x0affffff));
        label.setColour (juce::Label::outlineColourId, outline);

        const auto drawnBy = [&] (juce::LookAndFeel& l)
        {
            return drawnOverGround ([&] (juce::Graphics& g) { l.drawLabel (g, label); });
        };

        EXPECT_TRUE (samePixels (drawnBy (look), drawnBy (framework)));
    }
}
