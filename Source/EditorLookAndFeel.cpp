#include "EditorLookAndFeel.h"

#include <FontData.h>

namespace
{
    /** Room left free at either end of a button's text. */
    constexpr int buttonTextMargin = 2;

    juce::Typeface::Ptr loadTypeface (const char* data, int size)
    {
        juce::MemoryInputStream in (data, (size_t) size, false);
        return new juce::CustomTypeface (in);
    }
}

//==============================================================================
EditorLookAndFeel::Typefaces EditorLookAndFeel::loadTypefaces()
{
    return { loadTypeface (FontData::DejaVuSans_typeface, FontData::DejaVuSans_typefaceSize),
             loadTypeface (FontData::DejaVuSansBold_typeface, FontData::DejaVuSansBold_typefaceSize) };
}

EditorLookAndFeel::EditorLookAndFeel() : EditorLookAndFeel (loadTypefaces()) {}

EditorLookAndFeel::EditorLookAndFeel (Typefaces embedded) : typefaces (std::move (embedded)) {}

void EditorLookAndFeel::drawTextOnOneLine (juce::Graphics& g, const juce::String& text, juce::Rectangle<int> area,
                                           juce::Font font, juce::Justification justification)
{
    const auto width = font.getStringWidthFloat (text.trim());
    const auto available = (float) area.getWidth();

    // A little below the exact size, so that rounding never tips the text into an ellipsis.
    if (width * minimumHorizontalScale > available && available > 0.0f)
        font.setHeight (font.getHeight() * 0.97f * available / (width * minimumHorizontalScale));

    g.setFont (font);
    g.drawFittedText (text, area, justification, 1, minimumHorizontalScale);
}

void EditorLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& background,
                                              bool highlighted, bool down)
{
    // A transparent button at rest with a transparent outline leaves no mark;
    // a highlighted or pressed one is tinted even then.
    if (background.isTransparent() && ! (highlighted || down)
        && button.findColour (juce::ComboBox::outlineColourId).isTransparent())
        return;

    LookAndFeel_V4::drawButtonBackground (g, button, background, highlighted, down);
}

void EditorLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    // The control buttons over the mixer show their texts on labels of their own.
    if (button.getButtonText().isEmpty())
        return;

    const auto colourId = button.getToggleState() ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId;
    g.setColour (button.findColour (colourId).withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));

    drawTextOnOneLine (g, button.getButtonText(), button.getLocalBounds().reduced (buttonTextMargin, 0),
                       getTextButtonFont (button, button.getHeight()), juce::Justification::centred);
}

void EditorLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    const auto font = getLabelFont (label);
    const auto textArea = getLabelBorderSize (label).subtractedFrom (label.getLocalBounds());

    // Labels with room for more lines, and a label being edited, draw as the framework does.
    if (label.isBeingEdited() || (float) textArea.getHeight() >= 2.0f * font.getHeight())
    {
        LookAndFeel_V4::drawLabel (g, label);
        return;
    }

    const auto alpha = label.isEnabled() ? 1.0f : 0.5f;
    g.fillAll (label.findColour (juce::Label::backgroundColourId));
    g.setColour (label.findColour (juce::Label::textColourId).withMultipliedAlpha (alpha));
    drawTextOnOneLine (g, label.getText(), textArea, font, label.getJustificationType());

    if (const auto outline = label.findColour (juce::Label::outlineColourId); ! outline.isTransparent())
    {
        g.setColour (outline.withMultipliedAlpha (alpha));
        g.drawRect (label.getLocalBounds());
    }
}

juce::PopupMenu::Options EditorLookAndFeel::getOptionsForComboBoxPopupMenu (juce::ComboBox& box, juce::Label& label)
{
    return LookAndFeel_V4::getOptionsForComboBoxPopupMenu (box, label)
               .withParentComponent (box.getTopLevelComponent());
}

juce::Typeface::Ptr EditorLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    if (font.getTypefaceName() == juce::Font::getDefaultSansSerifFontName())
        return font.isBold() ? typefaces.bold : typefaces.regular;

    return LookAndFeel_V4::getTypefaceForFont (font);
}
