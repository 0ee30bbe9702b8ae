#include <gtest/gtest.h>

#include "gui/EditorTestKit.h"
#include "gui/SectionFixture.h"

#include "Arrays.h"
#include "MixerSection.h"
#include "Shared.h"
#include "VtrPlus.h"

namespace
{
    enum { mackie, logic, proTools, usrdefMcp, usrdefHui };

    /** A fresh device world; the section is built by each test when its mode is set. */
    struct MixerFixture : public gui_test::SectionFixture<MixerSection>
    {
        juce::Label* labelAt (int index)    { return dynamic_cast<juce::Label*> (section->getChildComponent (index)); }
    };

    constexpr int dx = 94;
}

//==============================================================================
TEST_F (MixerFixture, LabelsComeFirstInTheirFixedOrderAndPlaces)
{
    build();
    ASSERT_EQ (section->getNumChildComponents(), 136);
    EXPECT_EQ (section->getName(), "");

    struct Case { int index; juce::Rectangle<int> bounds; float fontHeight; bool faint; int attachedTo; const char* text; };

    // attachedTo: the control whose text the label shows; 0 for the strip numbers.
    const Case cases[] = {
        {  0, { 29,          229, 49, 15 }, 15.0f, true,  77, nullptr },
        {  7, { 29 + 7 * dx, 229, 49, 15 }, 15.0f, true,  84, nullptr },
        {  8, { 29,          350, 49, 15 }, 15.0f, true,  41, nullptr },
        { 16, { 68,          246, 49, 15 }, 13.0f, true,  25, nullptr },
        { 24, { 68,          290, 49, 15 }, 13.0f, true,  17, nullptr },
        { 32, { 68,          335, 49, 15 }, 13.0f, true,   9, nullptr },
        { 40, { 68,          375, 49, 15 }, 13.0f, true,   1, nullptr },
        { 47, { 68 + 7 * dx, 375, 49, 15 }, 13.0f, true,   8, nullptr },
        { 48, { 27,           47, 51, 24 }, 15.0f, false, 65, nullptr },
        { 49, { 28,          118, 51, 24 }, 15.0f, false, 33, nullptr },
        { 50, { 27 + dx,      47, 51, 24 }, 15.0f, false, 66, nullptr },
        { 55, { 27 + 6 * dx,  47, 51, 24 }, 15.0f, false, 71, nullptr },
        { 56, { 28 + dx,     118, 51, 24 }, 15.0f, false, 34, nullptr },
        { 61, { 28 + 6 * dx, 118, 51, 24 }, 15.0f, false, 39, nullptr },
        { 62, { 63,          152, 28, 15 }, 15.0f, false,  0, "(1)" },
        { 68, { 63 + 6 * dx, 152, 28, 15 }, 15.0f, false,  0, "(7)" },
        { 69, { 27 + 7 * dx,  47, 51, 24 }, 15.0f, false, 72, nullptr },
        { 70, { 28 + 7 * dx, 118, 51, 24 }, 15.0f, false, 40, nullptr },
        { 71, { 63 + 7 * dx, 152, 28, 15 }, 15.0f, false,  0, "(8)" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("child " + std::to_string (c.index));
        auto* label = labelAt (c.index);
        ASSERT_NE (label, nullptr);

        EXPECT_EQ (label->getName(), "new label");
        EXPECT_EQ (label->getBounds(), c.bounds);
        EXPECT_FLOAT_EQ (label->getFont().getHeight(), c.fontHeight);
        EXPECT_EQ (label->getFont().getTypefaceStyle(), "Regular");
        EXPECT_EQ (label->getJustificationType(), juce::Justification::centred);
        EXPECT_FALSE (label->isEditable());
        EXPECT_TRUE (label->isVisible());
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::black);
        EXPECT_EQ (label->findColour (juce::Label::backgroundColourId),
                   c.faint ? juce::Colour (0x0AFFFFFF) : juce::Colour (0x00000000));

        if (c.attachedTo == 0)
        {
            EXPECT_EQ (label->getText(), c.text);
            EXPECT_EQ (label->findColour (juce::TextEditor::backgroundColourId), juce::Colour (0x00000000));
        }
        else
        {
            auto* b = buttonFor (c.attachedTo);
            ASSERT_NE (b, nullptr);
            EXPECT_EQ (b->attachedLabel, label);
            EXPECT_EQ (label->getText(), b->getLabelText());
        }
    }
}

TEST_F (MixerFixture, ButtonsLieAboveTheLabelsInTheirFixedOrderAndPlaces)
{
    build();

    struct Case { int index; int cid; const char* name; juce::Rectangle<int> bounds; int kind; };

    const Case cases[] = {
        {  72, 65, "pan1",       { 27,           71, 53, 32 }, 1 },
        {  73, 33, "new button", { 28,          102, 50, 21 }, 0 },
        {  74, 41, "new button", { 38,          311, 29, 33 }, 0 },
        {  75, 42, "",           { 38 + dx,     311, 29, 33 }, 0 },
        {  81, 48, "",           { 38 + 7 * dx, 311, 29, 33 }, 0 },
        {  82,  1, "new button", { 80,          350, 26, 26 }, 0 },
        {  83, 77, "new button", { 38,          253, 29, 59 }, 3 },
        {  90, 84, "new button", { 38 + 7 * dx, 253, 29, 59 }, 3 },
        {  91, 66, "pan2",       { 27 + dx,      71, 53, 32 }, 1 },
        {  92, 34, "new button", { 28 + dx,     102, 50, 21 }, 0 },
        { 103, 72, "pan8",       { 27 + 7 * dx,  71, 53, 32 }, 1 },
        { 104, 40, "new button", { 28 + 7 * dx, 102, 50, 21 }, 0 },
        { 105,  9, "new button", { 76,          305, 33, 34 }, 0 },
        { 106, 17, "new button", { 76,          260, 33, 34 }, 0 },
        { 107, 25, "new button", { 76,          216, 33, 34 }, 0 },
        { 108,  2, "new button", { 80 + dx,     350, 26, 26 }, 0 },
        { 109, 10, "new button", { 76 + dx,     305, 33, 34 }, 0 },
        { 110, 18, "new button", { 76 + dx,     260, 33, 34 }, 0 },
        { 111, 26, "new button", { 76 + dx,     216, 33, 34 }, 0 },
        { 132,  8, "new button", { 738,         350, 26, 26 }, 0 },
        { 135, 32, "new button", { 76 + 7 * dx, 216, 33, 34 }, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("child " + std::to_string (c.index));
        auto* b = dynamic_cast<MappableButton*> (section->getChildComponent (c.index));
        ASSERT_NE (b, nullptr);

        EXPECT_EQ (b->cid, c.cid);
        EXPECT_EQ (b->getName(), c.name);
        EXPECT_EQ (b->getBounds(), c.bounds);
        EXPECT_EQ (b->kind, c.kind);
        EXPECT_EQ (b->getButtonText(), "");
        EXPECT_TRUE (b->isVisible());
        EXPECT_EQ (b->findColour (juce::TextButton::buttonColourId), juce::Colours::transparentBlack);
        EXPECT_EQ (b->findColour (juce::TextButton::buttonOnColourId), juce::Colour (0x706655A8));
    }
}

TEST_F (MixerFixture, EveryStripControlHasExactlyOneButton)
{
    build();
    juce::Array<int> ids;

    for (int i = 0; i < section->getNumChildComponents(); ++i)
    {
        const auto isButton = i >= 72;
        auto* b = dynamic_cast<MappableButton*> (section->getChildComponent (i));
        EXPECT_EQ (b != nullptr, isButton) << "child " << i;

        if (b != nullptr)
        {
            EXPECT_NE (b->attachedLabel, nullptr) << "child " << i;
            ids.addIfNotAlreadyThere (b->cid);
        }
    }

    ids.sort();
    juce::Array<int> expected;

    for (int id = 1; id <= 84; ++id)
        if (id <= 48 || (id >= 65 && id <= 72) || id >= 77)
            expected.add (id);

    EXPECT_EQ (ids, expected);
}

TEST_F (MixerFixture, LabelsShowTheTextsOfTheCurrentMode)
{
    struct Case { int mode, cid; const char* text; };

    const Case cases[] = {
        { mackie,    1, " C(-1)" },
        { mackie,   65, "CC16" },
        { mackie,   77, "PB.1" },
        { mackie,   84, "PB.8" },
        { logic,     1, "REC.1" },
        { logic,    41, "Touch.1" },
        { proTools, 25, "SEL.1" },
        { usrdefHui, 33, "MON.1" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode) + ", control " + std::to_string (c.cid));
        device().setCtMode (CtMode (c.mode));
        build();
        auto* b = buttonFor (c.cid);
        ASSERT_NE (b, nullptr);
        EXPECT_EQ (b->attachedLabel->getText(), c.text);

        // No label keeps its placeholder; only the strip numbers stay as written.
        for (int i = 0; i < 72; ++i)
        {
            const auto text = labelAt (i)->getText();
            const auto isStripNumber = (i >= 62 && i <= 68) || i == 71;
            EXPECT_EQ (isStripNumber, text.startsWith ("(")) << "label " << i << " reads " << text;
            EXPECT_FALSE (text.startsWith ("tag") || text == "Pan. 1") << "label " << i;
        }
    }
}

TEST_F (MixerFixture, RebindingFollowsAModeChange)
{
    build();
    device().setCtMode (CtMode (logic));
    section->setButtonTypes();

    EXPECT_EQ (buttonFor (1)->attachedLabel->getText(), "REC.1");
    EXPECT_TRUE (buttonFor (1)->isBound());
    EXPECT_EQ ((int) control (1)[Tags::value], lg[25][2]);
}

TEST_F (MixerFixture, InTheMcpFamilyTheSlotTableDecidesTheSwitchValues)
{
    for (auto mode : { mackie, logic, usrdefMcp })
    {
        SCOPED_TRACE ("mode " + std::to_string (mode));
        gui_test::resetEditorWorld();
        device().setCtMode (CtMode (mode));

        // As after loading a file whose tree differs from the table.
        control (1).setProperty (Tags::value, 99, nullptr);
        control (48).setProperty (Tags::value, "7", nullptr);
        control (65).setProperty (Tags::value, 30, nullptr);
        control (77).setProperty (Tags::value, 12, nullptr);
        arrForMoid[mode][25][2] = 5;

        const gui_test::TableImage before;

        build();
        section->setButtonTypes();

        EXPECT_EQ ((int) control (1)[Tags::value], 5);
        EXPECT_EQ ((int) control (48)[Tags::value], 111);
        EXPECT_EQ ((int) control (65)[Tags::value], 30);    // knobs and faders keep theirs
        EXPECT_EQ ((int) control (77)[Tags::value], 12);
        EXPECT_TRUE (gui_test::TableImage() == before);
        EXPECT_EQ (buttonFor (1)->attachedLabel->getText(), mode == logic ? "REC.6" : " F(-1)");
    }
}

TEST_F (MixerFixture, InTheHuiModesTheMapKeepsTheSwitchValues)
{
    for (auto mode : { proTools, usrdefHui })
    {
        SCOPED_TRACE ("mode " + std::to_string (mode));
        gui_test::resetEditorWorld();
        device().setCtMode (CtMode (mode));
        control (1).setProperty (Tags::value, 20, nullptr);

        build();
        EXPECT_EQ ((int) control (1)[Tags::value], 20);
    }
}

TEST_F (MixerFixture, AMapLackingControlsLeavesTheirButtonsUnbound)
{
    device().setCtMode (CtMode (usrdefMcp));
    auto controls = device().getCurrentMap().tree.getChildWithName (Tags::controls);

    for (auto id : { 1, 25, 65, 77 })
        controls.removeChild (control (id), nullptr);

    const gui_test::TableImage before;

    build();
    section->setButtonTypes();

    // Slot 1 is also what an unbound id 0 would map to: nothing may reach it.
    EXPECT_TRUE (gui_test::TableImage() == before);
    EXPECT_EQ (labelAt (40)->getText(), "");       // REC 1
    EXPECT_EQ (labelAt (48)->getText(), "");       // knob 1
    EXPECT_EQ (labelAt (41)->getText(), "C#(-1)"); // REC 2 is still there
    EXPECT_EQ (buttonFor (1), nullptr);
}
