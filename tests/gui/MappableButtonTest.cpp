#include <gtest/gtest.h>

#include "common/FactoryImage.h"
#include "gui/EditorTestKit.h"
#include "gui/SectionFixture.h"

#include "Arrays.h"
#include "Buttons.h"
#include "Defa.h"
#include "Shared.h"
#include "VtrPlus.h"

namespace
{
    enum { mackie, logic, proTools, usrdefMcp, usrdefHui };
    enum { button, knob, jogWheel, fader, masterFader };

    VtrPlus& device()   { return *VtrPlus::singletonHolder.get(); }

    /** A fresh device world in one mode, with one button bound to a control of the current map. */
    struct ButtonFixture : public ::testing::Test
    {
        ButtonFixture()     { gui_test::resetEditorWorld(); }
        ~ButtonFixture() override { gui_test::resetEditorWorld(); }

        void useMode (int mode)
        {
            device().setCtMode (CtMode (mode));
        }

        juce::ValueTree control (int cid)   { return device().getCurrentMap().getControlById (cid); }

        MappableButton& bind (int cid, int kind)
        {
            b.kind = kind;
            b.setMapping (control (cid));
            return b;
        }

        juce::Label label;
        MappableButton b { "new button" };
    };

    int slotByte (int mode, int slot, int byteIndex)  { return gui_test::slotRecordOf (mode, slot)[(size_t) byteIndex]; }
}

//==============================================================================
TEST_F (ButtonFixture, ConstructionLeavesTheButtonUnbound)
{
    EXPECT_EQ (b.getName(), "new button");
    EXPECT_EQ (b.attachedLabel, nullptr);
    EXPECT_EQ (b.cid, 0);
    EXPECT_EQ (b.kind, 0);
    EXPECT_FALSE (b.isBound());
    EXPECT_EQ (b.getValueAsInt(), 0);
    EXPECT_EQ (b.findColour (juce::TextButton::buttonOnColourId), juce::Colours::lightskyblue);
}

TEST_F (ButtonFixture, BindingSharesTheControlsProperties)
{
    bind (65, knob);
    EXPECT_EQ (b.cid, 65);
    EXPECT_EQ (b.kind, knob);

    control (65).setProperty (Tags::v2, 5, nullptr);
    EXPECT_EQ (b.getValue2AsInt(), 5);

    b.setValue (17);
    EXPECT_EQ ((int) control (65)[Tags::value], 17);
    EXPECT_EQ (cb[71][2], 17);
}

TEST_F (ButtonFixture, TextGoesToTheAttachedLabelOrOntoTheButton)
{
    b.setButtonText ("untouched");
    b.attachedLabel = &label;
    bind (1, button);
    EXPECT_EQ (label.getText(), " C(-1)");
    EXPECT_EQ (b.getButtonText(), "untouched");

    b.attachedLabel = nullptr;
    b.updateText();
    EXPECT_EQ (b.getButtonText(), " C(-1)");
}

TEST_F (ButtonFixture, LabelTextFollowsTheCurrentMode)
{
    struct Case { int mode, zoom, cid, kind; const char* text; };

    const Case cases[] = {
        { mackie,    0,  1, button,      " C(-1)" },
        { mackie,    0, 58, button,      " G(6)" },
        { logic,     0, 58, button,      "Rewind" },
        { logic,     0,  1, button,      "REC.1" },
        { usrdefMcp, 0, 60, button,      "A#(6)" },        // note 94
        { mackie,    0, 65, knob,        "CC16" },
        { mackie,    0, 77, fader,       "PB.1" },
        { mackie,    0, 85, masterFader, "PB.9" },
        { mackie,    0, 73, jogWheel,    "CC60" },
        { mackie,    0, 74, jogWheel,    "CC60" },
        { mackie,    1, 73, jogWheel,    "CC60" },         // the normal state, also while zoomed
        { mackie,    1, 86, button,      " D(7)" },        // zoom state 1's left half: slot 69, note 98
        { proTools,  0,  1, button,      "REC.1" },
        { proTools,  0, 65, knob,        "Pan.1" },
        { proTools,  0, 85, masterFader, "Vol.M?" },
        { usrdefHui, 0,  1, button,      "REC1" },
        { usrdefHui, 0, 65, knob,        "PAN.1" },
        { usrdefHui, 0, 73, jogWheel,    "Tape Back" },
        { usrdefHui, 0, 85, masterFader, "VOL.M" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode) + ", control " + std::to_string (c.cid));
        const ScopedViewState view (c.zoom, 0);
        useMode (c.mode);
        EXPECT_EQ (bind (c.cid, c.kind).getLabelText(), c.text);
    }
}

TEST_F (ButtonFixture, UsrdefHuiLabelsFallBackForPairsInNoEntry)
{
    useMode (usrdefHui);

    struct Case { int cid, kind, value1, value2; const char* text; };

    const Case cases[] = {
        {  1, button,      0, 71, "REC1" },
        {  1, button,      1,  2, "" },           // entry 0, the function without a name
        { 65, knob,       99,  3, "PAN.4" },      // value1 is not compared for knobs
        { 73, jogWheel,    1,  2, "Tape Fwd" },
        { 77, fader,       1,  2, "" },           // entry 17, the empty name
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("control " + std::to_string (c.cid));
        control (c.cid).setProperty (Tags::v1, c.value1, nullptr);
        control (c.cid).setProperty (Tags::v2, c.value2, nullptr);
        EXPECT_EQ (bind (c.cid, c.kind).getLabelText(), c.text);
    }
}

TEST_F (ButtonFixture, NoteNumberAboveTheNameTableShowsTheNumber)
{
    // Only a loaded "usrdef-mcp" file can put such a byte into nd.
    useMode (usrdefMcp);
    nd[slotForCid (1)][2] = 200;
    EXPECT_EQ (bind (1, button).getLabelText(), "Note 200");

    useMode (logic);
    lg[slotForCid (1)][2] = 128;
    EXPECT_EQ (bind (1, button).getLabelText(), "Note 128");
}

TEST_F (ButtonFixture, UnknownMessageTypeInTheSlotTableIsReported)
{
    useMode (usrdefMcp);
    nd[slotForCid (5)][0] = 12;
    EXPECT_EQ (bind (5, button).getLabelText(), "ErrMidiMsgType");
}

//==============================================================================
TEST_F (ButtonFixture, SetMsgTypeNoneClearsTheTypeAndKeepsTheChannel)
{
    useMode (usrdefMcp);
    nd[81][1] = 0x93;
    bind (41, button).attachedLabel = &label;
    b.setMsgType (0);

    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 81), (std::array<int, 4> { 0, 0x03, 104, 127 }));
    EXPECT_EQ (control (41)[Tags::type].toString(), "null");
    EXPECT_EQ (label.getText(), "");
}

TEST_F (ButtonFixture, SetMsgTypeAndChanComposeTheStatusByte)
{
    useMode (usrdefMcp);
    bind (1, button).setMsgType (11);
    b.setChan (16);

    EXPECT_EQ (slotByte (usrdefMcp, 25, 0), 11);
    EXPECT_EQ (slotByte (usrdefMcp, 25, 1), 0xBF);
    EXPECT_EQ (control (1)[Tags::type].toString(), "cc");
    EXPECT_EQ ((int) control (1)[Tags::chan], 16);
    EXPECT_EQ (b.getButtonText(), "CC0");

    b.setMsgType (14);
    EXPECT_EQ (slotByte (usrdefMcp, 25, 1), 0xEF);
    EXPECT_EQ (control (1)[Tags::type].toString(), "pitch");
    EXPECT_EQ (b.getButtonText(), "PB.16");
}

TEST_F (ButtonFixture, SettersWriteTheSlotTableOfTheCurrentMode)
{
    struct Case { int mode; bool writesTable; };

    for (auto c : { Case { mackie, true }, Case { logic, true }, Case { usrdefMcp, true },
                    Case { proTools, false }, Case { usrdefHui, false } })
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode));
        gui_test::resetEditorWorld();
        useMode (c.mode);
        const gui_test::TableImage before;

        bind (2, button).setValue (61);
        b.setMsgType (11);
        b.setChan (3);

        EXPECT_EQ ((int) control (2)[Tags::value], 61);
        EXPECT_EQ (control (2)[Tags::type].toString(), "cc");
        EXPECT_EQ ((int) control (2)[Tags::chan], 3);

        if (c.writesTable)
        {
            EXPECT_EQ (gui_test::slotRecordOf (c.mode, 26), (std::array<int, 4> { 11, 0xB2, 61, 127 }));
            EXPECT_EQ (b.getButtonText(), "CC61");
        }
        else
        {
            // The HUI modes keep a function number in "value" and no slot record.
            EXPECT_TRUE (gui_test::TableImage() == before);
        }
    }
}

TEST_F (ButtonFixture, SetValueOfAJogIdLandsInItsOwnSlotInEveryZoomState)
{
    useMode (usrdefMcp);

    struct Case { int cid, kind, slot; };

    for (int zoom : { 0, 1, 2 })
    {
        for (auto c : { Case { 73, jogWheel, 80 }, Case { 74, jogWheel, 79 }, Case { 86, button, 69 }, Case { 89, button, 68 } })
        {
            SCOPED_TRACE ("zoom " + std::to_string (zoom) + ", control " + std::to_string (c.cid));
            const ScopedViewState view (zoom, 0);
            const auto before = gui_test::TableImage();
            bind (c.cid, c.kind).setValue (zoom + c.slot);

            auto expected = before;
            expected.mcp[2][c.slot][2] = (juce::uint8) (zoom + c.slot);
            EXPECT_TRUE (gui_test::TableImage() == expected);
        }
    }
}

TEST_F (ButtonFixture, SetVeloRemembersTheRotationPatternPerKnob)
{
    struct Case { int mode, cid, kind, value, row, column; bool writesSlot; };

    const Case cases[] = {
        { usrdefMcp, 66, knob,     17, 1, 0, true },
        { usrdefMcp, 66, knob,     30, 1, 1, true },
        { usrdefMcp, 73, jogWheel, 60, 8, 0, true },
        { usrdefMcp,  5, button,    4, 8, 1, true },
        { mackie,    66, knob,     17, 1, 0, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode) + ", control " + std::to_string (c.cid));
        gui_test::resetEditorWorld();
        useMode (c.mode);
        control (c.cid).setProperty (Tags::value, c.value, nullptr);
        bind (c.cid, c.kind).attachedLabel = &label;
        label.setText ("unchanged", juce::dontSendNotification);

        const auto slot = slotForCid (c.cid);
        const auto dataTwoBefore = slotByte (c.mode, slot, 3);
        b.setVelo (100);

        EXPECT_EQ (knobVelos[c.row][c.column], 100);
        EXPECT_EQ (knobVelos[c.row][1 - c.column], c.column == 0 ? 127 : 64);
        EXPECT_EQ ((int) control (c.cid)[Tags::velo], 100);
        EXPECT_EQ (slotByte (c.mode, slot, 3), c.writesSlot ? 100 : dataTwoBefore);
        EXPECT_EQ (label.getText(), "unchanged");
    }
}

TEST_F (ButtonFixture, SetV1orV2WritesTheHuiPairOnlyInUsrdefHui)
{
    struct Case { int mode, cid, kind, byteValue, which; unsigned char* pair; int expectedPair[2]; };

    const Case cases[] = {
        { usrdefHui, 25, button,      13, 1, HuiBnPairs[0],   { 13, 65 } },
        { usrdefHui, 86, button,      14, 2, HuiBnPairs[69],  { 13, 14 } },
        { usrdefHui, 74, jogWheel,    64, 2, HuiJogPairs[1],  { 13, 64 } },
        { usrdefHui, 73, jogWheel,     9, 1, HuiJogPairs[0],  {  9,  0 } },
        { usrdefHui, 72, knob,         6, 2, HuiKnPairs[7],   { 64,  6 } },
        { usrdefHui, 85, masterFader, 64, 1, HuiFdknPairs[8], { 64,  8 } },
        { usrdefHui, 78, fader,        3, 2, HuiFdknPairs[1], { 32,  3 } },
        { usrdefMcp, 25, button,      13, 1, HuiBnPairs[0],   { 0, 0 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode) + ", control " + std::to_string (c.cid));
        gui_test::resetEditorWorld();
        useMode (usrdefHui);
        const auto factoryFirst = c.pair[0];
        useMode (c.mode);

        bind (c.cid, c.kind).setV1orV2 (CtMode (c.mode), CtKind (c.kind), c.byteValue, c.which);

        EXPECT_EQ ((int) control (c.cid)[c.which == 1 ? Tags::v1 : Tags::v2], c.byteValue);

        if (c.mode == usrdefHui)
        {
            EXPECT_EQ (c.pair[0], c.expectedPair[0]);
            EXPECT_EQ (c.pair[1], c.expectedPair[1]);
        }
        else
        {
            EXPECT_EQ (c.pair[0], factoryFirst);
        }
    }
}

TEST_F (ButtonFixture, SetV1orV2WithAKindThatHasNoRowWritesNoTable)
{
    useMode (usrdefHui);
    const gui_test::TableImage before;

    // The jog halves have no HUI button row, a button id no knob row.
    bind (73, button).setV1orV2 (CtMode (usrdefHui), CtKind (button), 5, 1);
    bind (5, knob).setV1orV2 (CtMode (usrdefHui), CtKind (knob), 5, 2);
    bind (5, jogWheel).setV1orV2 (CtMode (usrdefHui), CtKind (jogWheel), 5, 2);

    EXPECT_TRUE (gui_test::TableImage() == before);
    EXPECT_EQ ((int) control (5)[Tags::v2], 5);
}

TEST_F (ButtonFixture, AnUnboundButtonWritesNothing)
{
    useMode (usrdefMcp);
    bind (25, button);
    auto lacking = control (90);   // a map holds no control 90
    ASSERT_FALSE (lacking.isValid());

    b.attachedLabel = &label;
    b.setMapping (lacking);
    const gui_test::TableImage before;
    const auto treeBefore = device().getCurrentMap().tree.createCopy();

    b.setValue (9);
    b.setMsgType (11);
    b.setChan (4);
    b.setVelo (1);
    b.setV1orV2 (CtMode (usrdefMcp), CtKind (button), 3, 1);

    EXPECT_FALSE (b.isBound());
    EXPECT_EQ (b.cid, 0);
    EXPECT_EQ (label.getText(), "");
    EXPECT_TRUE (gui_test::TableImage() == before);
    EXPECT_TRUE (device().getCurrentMap().tree.isEquivalentTo (treeBefore));
}

//==============================================================================
TEST (SlotIndexForControl, GivesTheSlotOrTheHuiButtonIndex)
{
    struct Case { int mode, kind, cid, zoom, index; };

    const Case cases[] = {
        { mackie,    button,       1, 0, 24 },
        { usrdefHui, knob,        65, 0, 70 },
        { usrdefHui, button,      25, 0,  0 },
        { usrdefHui, jogWheel,    73, 0, 79 },
        { usrdefHui, jogWheel,    74, 0, 78 },
        { usrdefHui, fader,       77, 0, 89 },
        { usrdefHui, masterFader, 85, 0, 97 },
        { usrdefHui, button,      86, 0, 69 },
        { logic,     jogWheel,    73, 1, 79 },
        { logic,     jogWheel,    73, 0, 79 },
        { mackie,    button,      -1, 0, -1 },
        { usrdefHui, button,      92, 0, -1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode) + ", control " + std::to_string (c.cid));
        const ScopedViewState view (c.zoom, 0);
        EXPECT_EQ (slotIndexForControl (CtMode (c.mode), CtKind (c.kind), c.cid), c.index);
    }
}

TEST (PairIndexFor, FindsTheFirstMatchingEntryOrTheKindsFallback)
{
    struct Case { int kind, value1, value2, index; };

    const Case cases[] = {
        { button,       0, 71, 88 },
        { button,      29, 71,  0 },
        { button,      13, 0x46, 0 },
        { knob,        99,  3,  3 },
        { knob,        64,  9,  0 },
        { jogWheel,    13,  0,  0 },
        { jogWheel,    13, 64,  1 },
        { jogWheel,     0,  0,  1 },
        { fader,       32,  8,  8 },
        { fader,       64,  0,  9 },
        { masterFader, 40,  0, 17 },
        { 7,           32,  2,  2 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("kind " + std::to_string (c.kind) + " (" + std::to_string (c.value1) + ", " + std::to_string (c.value2) + ")");
        EXPECT_EQ (Defa::pairIndexFor (c.kind, c.value1, c.value2), c.index);
    }
}

//==============================================================================
TEST_F (ButtonFixture, ModeBoxResolvesUserDefineByTheLastUserProtocol)
{
    useMode (usrdefHui);
    CtModeComboBox modes;

    EXPECT_EQ (modes.getName(), "");
    EXPECT_EQ (gui_test::itemTextsOf (modes), juce::StringArray ({ "1) Mackie", "2) Logic Pro", "3) Pro Tools", "4) User Define" }));
    EXPECT_EQ (modes.getSelectedItemIndex(), 3);

    g_LasPtcl4Usdf = 0;
    EXPECT_EQ ((int) modes.getSelectedMode(), usrdefMcp);
    g_LasPtcl4Usdf = 1;
    EXPECT_EQ ((int) modes.getSelectedMode(), usrdefHui);

    modes.setSelectedItemIndex (2, juce::dontSendNotification);
    EXPECT_EQ ((int) modes.getSelectedMode(), proTools);

    modes.setSelectedItemIndex (-1, juce::dontSendNotification);
    EXPECT_EQ ((int) modes.getSelectedMode(), usrdefHui);   // no selection: the current mode
}

TEST_F (ButtonFixture, ProtocolBoxIsEnabledOnlyInTheUserModes)
{
    for (auto mode : { mackie, logic, proTools, usrdefMcp, usrdefHui })
    {
        SCOPED_TRACE ("mode " + std::to_string (mode));
        useMode (mode);
        device().setPtcl (CtMode::protocolForType (mode));
        CtPtclComboBox protocols;

        EXPECT_EQ (gui_test::itemTextsOf (protocols), juce::StringArray ({ "1) MCP", "2) HUI" }));
        EXPECT_EQ (protocols.getSelectedPtcl(), CtMode::protocolForType (mode));
        EXPECT_EQ (protocols.isEnabled(), mode == usrdefMcp || mode == usrdefHui);
    }
}

TEST (MapComboBox, MappedValueOfTheSelectedItem)
{
    MapComboBox box;
    box.addItem ("a", 1);
    box.addItem ("b", 2);
    box.addItem ("c", 3);
    box.getValues().addArray ({ 40, 50 });

    EXPECT_EQ (box.getMappedValue(), 0);            // nothing selected
    box.setSelectedItemIndex (1, juce::dontSendNotification);
    EXPECT_EQ (box.getMappedValue(), 50);
    box.setSelectedItemIndex (2, juce::dontSendNotification);
    EXPECT_EQ (box.getMappedValue(), 0);            // an item without a value
}
