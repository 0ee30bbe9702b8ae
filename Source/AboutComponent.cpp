#include "AboutComponent.h"

namespace
{
const juce::Colour textColour { 0xffeeeeee };
const juce::String buildCode { "5d" };

std::unique_ptr<juce::Label> makeLabel (const juce::String& componentName, const juce::String& text,
                                        const juce::Font& font, juce::Justification justification)
{
    auto label = std::make_unique<juce::Label> (componentName, text);
    label->setFont (font);
    label->setJustificationType (justification);
    label->setEditable (false, false, false);
    label->setColour (juce::Label::textColourId, textColour);
    label->setColour (juce::TextEditor::textColourId, textColour);
    label->setColour (juce::TextEditor::backgroundColourId, juce::Colour (0x00000000));
    return label;
}

juce::Font plainFont (float height, const juce::String& style)
{
    juce::Font font (height, juce::Font::plain);
    font.setTypefaceStyle (style);
    return font;
}
} // namespace

AboutComponent::AboutComponent()
{
    auto titleFont = plainFont (50.0f, "Bold");
    titleFont.setTypefaceName (juce::Font::getDefaultSansSerifFontName());

    titleLabel = makeLabel ("new label", TRANS ("Vantor M+/X+ Rilo"), titleFont, juce::Justification::centred);
    addAndMakeVisible (titleLabel.get());

    copyrightLabel = makeLabel ("CopyrightLabel", TRANS ("(c) 2019-2026 Zuvo Audio"),
                                plainFont (15.0f, "Regular"), juce::Justification::centredLeft);
    addAndMakeVisible (copyrightLabel.get());

    aboutUsLink = std::make_unique<juce::HyperlinkButton> (TRANS ("About Us"), juce::URL (webSite));
    aboutUsLink->setTooltip (TRANS (webSite));
    aboutUsLink->setButtonText (TRANS ("About Us"));
    aboutUsLink->setColour (juce::HyperlinkButton::textColourId, juce::Colours::red);
    addAndMakeVisible (aboutUsLink.get());

    versionLabel = makeLabel ("VersionLabel", "V" + juce::String (versionNumber) + " Build " + buildCode.toUpperCase(),
                              plainFont (18.0f, "Regular"), juce::Justification::centred);
    addAndMakeVisible (versionLabel.get());

    setSize (500, 278);
}

AboutComponent::~AboutComponent()
{
    titleLabel = nullptr;
    copyrightLabel = nullptr;
    aboutUsLink = nullptr;
    versionLabel = nullptr;
}

void AboutComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff222222));
}

void AboutComponent::resized()
{
    const auto w = getWidth();
    const auto h = getHeight();

    titleLabel->setBounds (w / 2 - 240, 72, 480, 56);
    copyrightLabel->setBounds (13, 243, 195, 24);
    aboutUsLink->setBounds (393, h - 36, 94, 24);
    versionLabel->setBounds (w / 2 - 234, 128, 150, 24);
}
