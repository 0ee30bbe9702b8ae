#include <gtest/gtest.h>

#include "common/FactoryImage.h"
#include "gui/EditorTestKit.h"
#include "gui/SectionFixture.h"

#include "Arrays.h"
#include "ControlSection.h"
#include "Shared.h"
#include "VtrPlus.h"

namespace
{
    enum { mackie, logic, proTools, usrdefMcp, usrdefHui };

    struct ControlFixture : public gui_test::SectionFixture<ControlSection>
    {
        static int valueOf (int cid)    { return (int) control (cid)[Tags::value]; }
    };

    enum class Child { caption, label, button };

    struct ChildCase
    {
        Child child;
        int cid;                 // button: its control; label: the control it shows
        juce::Rectangle<int> bounds;
        const char* text;        // captions
        float fontHeight;        // labels
        int kind;                // buttons
    };

    const ChildCase children[] = {
        { Child::caption,  0, {  29, 194, 28, 15 }, "(M)",  15.0f, 0 },
        { Child::label,   85, {  -5, 271, 49, 15 }, nullptr, 13.0f, 0 },
        { Child::label,   53, {  -5, 392, 49, 15 }, nullptr, 13.0f, 0 },
        { Child::label,   52, {  34, 288, 49, 15 }, nullptr, 13.0f, 0 },
        { Child::label,   51, {  34, 332, 49, 15 }, nullptr, 13.0f, 0 },
        { Child::label,   50, {  34, 377, 49, 15 }, nullptr, 13.0f, 0 },
        { Child::caption,  0, {  34, 417, 49, 15 }, "Lock", 13.0f, 0 },
        { Child::button,  53, {   4, 353, 29, 33 }, nullptr, 0, 0 },
        { Child::button,  52, {  42, 258, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  51, {  42, 302, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  50, {  42, 347, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  49, {  46, 392, 26, 26 }, nullptr, 0, 0 },
        { Child::button,  54, {  97,  67, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  55, { 147,  67, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  56, {  97, 113, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  57, { 147, 113, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  58, {  97, 159, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  59, { 147, 159, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  60, {  97, 205, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  61, { 147, 205, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  62, {  97, 250, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  63, { 147, 250, 33, 34 }, nullptr, 0, 0 },
        { Child::button,  73, {  94, 332, 47, 59 }, nullptr, 0, 2 },
        { Child::button,  74, { 140, 332, 47, 59 }, nullptr, 0, 2 },
        { Child::button,  64, {  96, 390, 88, 33 }, nullptr, 0, 0 },
        { Child::button,  75, { 101, 299, 26, 26 }, nullptr, 0, 0 },
        { Child::button,  76, { 150, 299, 26, 26 }, nullptr, 0, 0 },
        { Child::label,   54, {  89,  53, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   55, { 139,  53, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   56, {  89,  99, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   57, { 139,  99, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   58, {  89, 145, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   59, { 139, 145, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   60, {  89, 191, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   61, { 139, 191, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   62, {  89, 236, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::label,   63, { 139, 236, 49, 15 }, nullptr, 15.0f, 0 },
        { Child::button,  85, {   4, 295, 29, 59 }, nullptr, 0, 4 },
    };
}

//==============================================================================
TEST_F (ControlFixture, ChildrenComeInTheirFixedOrderPlacesAndLooks)
{
    build();
    EXPECT_EQ (section->getName(), "ControlSection");
    ASSERT_EQ (section->getNumChildComponents(), (int) std::size (children));

    for (int i = 0; i < (int) std::size (children); ++i)
    {
        SCOPED_TRACE ("child " + std::to_string (i));
        const auto& c = children[i];
        auto* child = section->getChildComponent (i);
        EXPECT_EQ (child->getBounds(), c.bounds);
        EXPECT_TRUE (child->isVisible());

        if (c.child == Child::button)
        {
            auto* b = dynamic_cast<MappableButton*> (child);
            ASSERT_NE (b, nullptr);
            EXPECT_EQ (b->cid, c.cid);
            EXPECT_EQ (b->kind, c.kind);
            EXPECT_EQ (b->getName(), c.cid == 85 ? "new button" : "");
            EXPECT_EQ (b->findColour (juce::TextButton::buttonOnColourId), juce::Colour (0x706655A8));
            bool clicksOnSelf = true, clicksOnChildren = true;
            b->getInterceptsMouseClicks (clicksOnSelf, clicksOnChildren);
            EXPECT_EQ (clicksOnSelf, c.cid != 49);

            if (c.cid == 49)
            {
                EXPECT_FALSE (clicksOnChildren);
            }
            continue;
        }

        auto* label = dynamic_cast<juce::Label*> (child);
        ASSERT_NE (label, nullptr);
        EXPECT_EQ (label->getName(), "new label");
        EXPECT_FLOAT_EQ (label->getFont().getHeight(), c.fontHeight);
        EXPECT_EQ (label->getFont().getTypefaceStyle(), "Regular");
        EXPECT_EQ (label->getJustificationType(), juce::Justification::centred);
        EXPECT_FALSE (label->isEditable());
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::black);

        if (c.child == Child::caption)
        {
            EXPECT_EQ (label->getText(), c.text);
            EXPECT_EQ (label->findColour (juce::Label::backgroundColourId), juce::Colour (0x00000000));
        }
        else
        {
            EXPECT_EQ (label->findColour (juce::Label::backgroundColourId), juce::Colour (0x0AFFFFFF));
            auto* b = buttonFor (c.cid);
            ASSERT_NE (b, nullptr);
            EXPECT_EQ (b->attachedLabel, label);
            EXPECT_EQ (label->getText(), b->getLabelText());
        }
    }

    EXPECT_EQ (section->zoomButton1, buttonFor (75));
    EXPECT_EQ (section->zoomButton2, buttonFor (76));
    EXPECT_EQ (section->jogButtonL, buttonFor (73));
    EXPECT_EQ (section->jogButtonR, buttonFor (74));
    EXPECT_EQ (section->masterFader, buttonFor (85));
}

TEST_F (ControlFixture, ButtonsWithoutALabelShowTheirTextThemselves)
{
    build();

    struct Case { int cid; const char* text; juce::Colour off; };

    const Case cases[] = {
        { 73, "CC60",   juce::Colour (0xFFD0FFFF) },
        { 74, "CC60",   juce::Colour (0xFFD0FFFF) },
        { 64, " F(7)",  juce::Colour (0xFFD0FFFF) },   // note 101, the scrub button
        { 49, " C(-1)", juce::Colours::transparentBlack },
        { 75, " E(7)",  juce::Colours::transparentBlack },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("control " + std::to_string (c.cid));
        auto* b = buttonFor (c.cid);
        ASSERT_NE (b, nullptr);
        EXPECT_EQ (b->attachedLabel, nullptr);
        EXPECT_EQ (b->getButtonText(), c.text);
        EXPECT_EQ (b->findColour (juce::TextButton::textColourOffId), c.off);
    }

    EXPECT_EQ (buttonFor (49)->findColour (juce::TextButton::textColourOnId), juce::Colours::transparentBlack);
    EXPECT_EQ (buttonFor (50)->findColour (juce::TextButton::buttonColourId), juce::Colour (0x20404040));
    EXPECT_EQ (buttonFor (73)->findColour (juce::TextButton::buttonColourId), juce::Colour (0x28404040));
    EXPECT_EQ (section->masterFader->findColour (juce::TextButton::buttonColourId), juce::Colours::transparentBlack);
    EXPECT_EQ (section->masterFader->attachedLabel->getText(), "PB.9");
}

TEST_F (ControlFixture, AClickOnControl49ReachesNoButton)
{
    build().setBounds (786, 22, 450, 576);   // as the content component places it
    section->setVisible (true);
    auto* lock = buttonFor (49);
    const auto centre = lock->getBounds().getCentre();

    EXPECT_EQ (section->getComponentAt (centre), section.get());
    EXPECT_EQ (section->getComponentAt (buttonFor (50)->getBounds().getCentre()), buttonFor (50));
}

TEST_F (ControlFixture, EachJogIdKeepsItsOwnValueAndTheHalvesShowTheZoomState)
{
    // 73 and 74 are the jog's normal state, 86-89 the zoom states: no zoom
    // state writes one state's value into another's control.
    struct Case { int mode, zoom; int values[6]; };   // controls 73, 74, 86, 87, 88, 89

    const Case cases[] = {
        { mackie,    0, { 60, 60, 98, 99, 96, 97 } },
        { mackie,    1, { 60, 60, 98, 99, 96, 97 } },
        { logic,     2, { 60, 60, 98, 99, 96, 97 } },
        { usrdefMcp, 1, { 60, 60, 98, 99, 96, 97 } },
        { proTools,  0, { 17, 17, 87, 89, 90, 86 } },
        { proTools,  2, { 17, 17, 87, 89, 90, 86 } },
        { usrdefHui, 0, {  0,  1, 54, 20, 14, 61 } },
        { usrdefHui, 1, {  0,  1, 54, 20, 14, 61 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode) + ", zoom " + std::to_string (c.zoom));
        gui_test::resetEditorWorld();
        const ScopedViewState view (c.zoom, 0);
        device().setCtMode (CtMode (c.mode));

        for (auto id : { 73, 74, 86, 87, 88, 89 })
            control (id).setProperty (Tags::value, 123, nullptr);

        build();
        const int ids[] = { 73, 74, 86, 87, 88, 89 };

        for (int i = 0; i < 6; ++i)
            EXPECT_EQ (valueOf (ids[i]), c.values[i]) << "control " << ids[i];

        // The halves stand for the ids of the zoom state.
        EXPECT_EQ (section->jogButtonL->cid, zomjog2cid[c.zoom][0]);
        EXPECT_EQ (section->jogButtonR->cid, zomjog2cid[c.zoom][1]);
        EXPECT_EQ (section->jogButtonL->kind, c.zoom == 0 ? 2 : 0);
        EXPECT_EQ (section->zoomButton1->kind, 0);
    }
}

TEST_F (ControlFixture, SlotTableDecidesTheSwitchValuesOnlyInTheMcpFamily)
{
    struct Case { int mode; bool fromTable; };

    for (auto c : { Case { mackie, true }, Case { logic, true }, Case { usrdefMcp, true },
                    Case { proTools, false }, Case { usrdefHui, false } })
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode));
        gui_test::resetEditorWorld();
        device().setCtMode (CtMode (c.mode));

        for (auto id : { 49, 58, 64, 75, 76, 85 })
            control (id).setProperty (Tags::value, 7, nullptr);

        const gui_test::TableImage before;

        build().setButtonTypes();

        EXPECT_EQ (valueOf (49), c.fromTable ? 0 : 7);
        EXPECT_EQ (valueOf (58), c.fromTable ? 91 : 7);
        EXPECT_EQ (valueOf (64), c.fromTable ? 101 : 7);

        // The zoom buttons and the master fader are never written.
        EXPECT_EQ (valueOf (75), 7);
        EXPECT_EQ (valueOf (76), 7);
        EXPECT_EQ (valueOf (85), 7);
        EXPECT_TRUE (gui_test::TableImage() == before);
    }
}

TEST_F (ControlFixture, AMapLackingControlsLeavesTheirButtonsUnbound)
{
    device().setCtMode (CtMode (usrdefMcp));
    auto controls = device().getCurrentMap().tree.getChildWithName (Tags::controls);

    for (auto id : { 49, 53, 73, 85, 86, 89 })
        controls.removeChild (control (id), nullptr);

    const gui_test::TableImage before;

    build();

    EXPECT_TRUE (gui_test::TableImage() == before);
    EXPECT_FALSE (section->jogButtonL->isBound());
    EXPECT_TRUE (section->jogButtonR->isBound());
    EXPECT_FALSE (section->masterFader->isBound());
    EXPECT_EQ (section->masterFader->attachedLabel->getText(), "");
    EXPECT_EQ (section->jogButtonL->getButtonText(), "");
    EXPECT_EQ (valueOf (87), 99);
    EXPECT_EQ (valueOf (74), 60);
}
