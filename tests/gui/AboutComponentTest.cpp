#include <gtest/gtest.h>

#include "AboutComponent.h"

TEST (AboutComponent, ShowsNameVersionCopyrightAndLinkAsLaidOut)
{
    AboutComponent about;
    ASSERT_EQ (about.getBounds(), juce::Rectangle<int> (0, 0, 500, 278));
    ASSERT_EQ (about.getNumChildComponents(), 4);

    const struct { const char* name; const char* text; juce::Rectangle<int> bounds; } children[] = {
        { "new label",      "Vantor M+/X+ Rilo",        { 10, 72, 480, 56 } },
        { "CopyrightLabel", "(c) 2019-2026 Zuvo Audio", { 13, 243, 195, 24 } },
        { nullptr,          "About Us",                 { 393, 242, 94, 24 } },
        { "VersionLabel",   "V2.19 Build 5D",           { 16, 128, 150, 24 } },
    };

    for (int i = 0; i < 4; ++i)
    {
        SCOPED_TRACE (children[i].text);
        auto* child = about.getChildComponent (i);
        EXPECT_TRUE (children[i].name == nullptr || child->getName() == children[i].name) << child->getName();
        EXPECT_EQ (child->getBounds(), children[i].bounds);
        EXPECT_TRUE (child->isVisible());

        if (auto* label = dynamic_cast<juce::Label*> (child))
        {
            EXPECT_EQ (label->getText(), children[i].text);
            EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colour (0xffeeeeee));
            EXPECT_FALSE (label->isEditableOnSingleClick() || label->isEditableOnDoubleClick());
        }
        else
        {
            EXPECT_EQ (dynamic_cast<juce::Button&> (*child).getButtonText(), children[i].text);
        }
    }

    const auto& title = dynamic_cast<juce::Label&> (*about.getChildComponent (0));
    EXPECT_EQ (title.getFont().getHeight(), 50.0f);
    EXPECT_TRUE (title.getFont().isBold());
}

TEST (AboutComponent, LinksToAPlaceholderAddressAndShowsItAsTooltip)
{
    AboutComponent about;
    auto& link = dynamic_cast<juce::HyperlinkButton&> (*about.getChildComponent (2));

    EXPECT_EQ (link.getURL().toString (false), AboutComponent::webSite);
    EXPECT_EQ (link.getTooltip(), AboutComponent::webSite);
    EXPECT_EQ (link.getURL().getDomain(), "www.example.com");
    EXPECT_EQ (link.findColour (juce::HyperlinkButton::textColourId), juce::Colours::red);
}

TEST (AboutComponent, PaintsADarkPanel)
{
    AboutComponent about;
    const auto snapshot = about.createComponentSnapshot (about.getLocalBounds());

    for (const auto point : { juce::Point<int> (2, 2), { 250, 30 }, { 497, 275 } })
        EXPECT_EQ (snapshot.getPixelAt (point.x, point.y), juce::Colour (0xff222222));
}
