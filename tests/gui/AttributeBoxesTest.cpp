#include <gtest/gtest.h>

#include "gui/EditorTestKit.h"

#include "Arrays.h"
#include "Shared.h"
#include "VtrPlus.h"

using gui_test::EditorUnderTest;

namespace
{
    enum { mackie, logic, proTools, usrdefMcp, usrdefHui };

    int intOf (const juce::ValueTree& control, const char* property)
    {
        return (int) control.getProperty (property);
    }

    /** Clicks the button of a control; fails the test when there is none. */
    void selectControl (EditorUnderTest& editor, int cid)
    {
        ASSERT_TRUE (editor.click (cid)) << "no button for control " << cid;
    }

    struct AttributeBoxEdits : public ::testing::Test
    {
        EditorUnderTest editor;

        MapComboBox& msgTypeBox()   { return editor.box (EditorUnderTest::msgTypeBox); }
        MapComboBox& chanBox()      { return editor.box (EditorUnderTest::chanBox); }
        MapComboBox& funcBox()      { return editor.box (EditorUnderTest::funcBox); }
        MapComboBox& rotationBox()  { return editor.box (EditorUnderTest::rotationBox); }

        void select (int cid)       { selectControl (editor, cid); }

        /** Chooses the function box item whose mapped value is this one. */
        void chooseFunction (int value)
        {
            const auto position = funcBox().values.indexOf (value);
            ASSERT_GE (position, 0) << "no function with value " << value;
            editor.choose (funcBox(), position + 1);
        }
    };
}

//==============================================================================
TEST_F (AttributeBoxEdits, BoxesAreEmptyUntilAControlIsSelected)
{
    for (auto* box : { &msgTypeBox(), &chanBox(), &funcBox(), &rotationBox() })
        EXPECT_EQ (box->getNumItems(), 0);

    EXPECT_FALSE (rotationBox().isVisible());
    EXPECT_FALSE (editor.label (EditorUnderTest::rotationLabel).isVisible());
}

TEST (AttributeBoxes, ShowTheSelectedControlInEveryMode)
{
    struct Case
    {
        int mode, cid;
        int numTypes; const char* firstType; const char* lastType; int typeIndex;
        int numChans; const char* firstChan; int chanIndex;
        int numFuncs; int funcIndex; const char* funcText;
        bool rotationShown;
    };

    const Case cases[] = {
        { mackie,    1,  3, "1) Note", "3) Pitch Bend", 0,   16, "1", 0,    128, 0,   "0 )  C(-1)  REC.1", false },
        { mackie,    58, 3, "1) Note", "3) Pitch Bend", 0,   16, "1", 0,    128, 91,  "91)  G(6)  Rewind", false },
        { logic,     52, 3, "1) Note", "3) Pitch Bend", 0,   16, "1", 0,    128, 84,  "84)  C(6)  Marker", false },
        { usrdefMcp, 41, 4, "1) Note", "4) null", 0,         16, "1", 0,    128, 104, "104) G#(7)  Touch.1", false },
        { usrdefMcp, 65, 3, "1) Note", "3) Pitch Bend", 1,   16, "1", 0,    128, 16,  "16) Gp Control #1", true },
        { usrdefMcp, 73, 3, "1) Note", "3) Pitch Bend", 1,   16, "1", 0,    128, 60,  "60) --", true },
        { usrdefMcp, 85, 3, "1) Note", "3) Pitch Bend", 2,   16, "1", 8,    128, 0,   "0 ) ---", false },
        { proTools,  1,  30, " 0) 0x00", "29) 0x1D", -1,     8, "0) 0x40", -1,  101, 1, "REC.1", false },
        { proTools,  65, 1, " 0) 0x40", " 0) 0x40", -1,      8, " 0) 0x00", -1, 8, 0,   "Pan.1", false },
        { proTools,  73, 1, " 0) 0x0D", " 0) 0x0D", -1,      2, " 0) 0x00", -1, 1, 0,   "Tape Tspt?", false },
        { proTools,  77, 2, " 0) 0x20", " 1) 0x40", -1,      9, " 0) 0x00", -1, 16, 0,  "Vol.1", false },
        { usrdefHui, 1,  30, " 0) 0x00", "29) 0x1D", 0,      8, "0) 0x40", 7,   101, 88, "88) REC1", false },
        { usrdefHui, 44, 30, " 0) 0x00", "29) 0x1D", 29,     8, "0) 0x40", 7,   101, 0, "0) ", false },
        { usrdefHui, 66, 1, " 0) 0x40", " 0) 0x40", 0,       8, " 0) 0x00", 1,  8, 1,   "1) PAN.2", false },
        { usrdefHui, 74, 1, " 0) 0x0D", " 0) 0x0D", 0,       2, " 0) 0x00", 1,  2, 1,   "1) Tape Fwd", false },
        { usrdefHui, 85, 2, " 0) 0x20", " 1) 0x40", 0,       9, " 0) 0x00", 8,  18, 8,  "8) VOL.M", false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode) + ", control " + std::to_string (c.cid));
        EditorUnderTest editor;
        editor.switchToMode (c.mode);
        ASSERT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), c.mode);
        selectControl (editor, c.cid);

        auto& msgTypeBox = editor.box (EditorUnderTest::msgTypeBox);
        auto& chanBox = editor.box (EditorUnderTest::chanBox);
        auto& funcBox = editor.box (EditorUnderTest::funcBox);
        auto& rotationBox = editor.box (EditorUnderTest::rotationBox);

        const auto editable = c.mode == usrdefMcp || c.mode == usrdefHui;

        EXPECT_EQ (msgTypeBox.getNumItems(), c.numTypes);
        EXPECT_EQ (msgTypeBox.getItemText (0), c.firstType);
        EXPECT_EQ (msgTypeBox.getItemText (c.numTypes - 1), c.lastType);
        EXPECT_EQ (msgTypeBox.getSelectedItemIndex(), c.typeIndex);

        EXPECT_EQ (chanBox.getNumItems(), c.numChans);
        EXPECT_EQ (chanBox.getItemText (0), c.firstChan);
        EXPECT_EQ (chanBox.getSelectedItemIndex(), c.chanIndex);

        EXPECT_EQ (funcBox.getNumItems(), c.numFuncs);
        EXPECT_EQ (funcBox.values.size(), c.numFuncs);
        EXPECT_EQ (funcBox.getSelectedItemIndex(), c.funcIndex);
        EXPECT_EQ (funcBox.getText(), c.funcText);

        EXPECT_EQ (gui_test::itemTextsOf (rotationBox), juce::StringArray ("1) Incremental", "2) Numerical"));
        EXPECT_EQ (rotationBox.isVisible(), c.rotationShown);
        EXPECT_EQ (editor.label (EditorUnderTest::rotationLabel).isVisible(), c.rotationShown);

        for (auto* box : { &msgTypeBox, &chanBox, &funcBox })
            EXPECT_EQ (box->isEnabled(), editable);
    }
}

TEST_F (AttributeBoxEdits, LabelsAndProtocolBoxFollowTheMode)
{
    struct Case { int mode; const char* func; const char* msgType; const char* chan; int modeIndex; int ptclId; };

    const Case cases[] = {
        { mackie,    "Message",  "Msg Type", "Channel", 0, 1 },
        { logic,     "Function", "Msg Type", "Channel", 1, 1 },
        { proTools,  "Function", "Value1",   "Value2",  2, 2 },
        { usrdefMcp, "Message",  "Msg Type", "Channel", 3, 1 },
        { usrdefHui, "Function", "Value1",   "Value2",  3, 2 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode));
        editor.switchToMode (c.mode);

        EXPECT_EQ (editor.label (EditorUnderTest::funcLabel).getText(), c.func);
        EXPECT_EQ (editor.label (EditorUnderTest::msgTypeLabel).getText(), c.msgType);
        EXPECT_EQ (editor.label (EditorUnderTest::chanLabel).getText(), c.chan);
        EXPECT_EQ (editor.modes().getSelectedItemIndex(), c.modeIndex);
        EXPECT_EQ (editor.protocols().getSelectedId(), c.ptclId);
        EXPECT_EQ (editor.protocols().isEnabled(), c.mode == usrdefMcp || c.mode == usrdefHui);
        EXPECT_TRUE (editor.modes().isEnabled());
    }
}

TEST_F (AttributeBoxEdits, SelectionSurvivesModeChangesAndTheBoxesFollowTheNewMap)
{
    select (1);
    EXPECT_EQ (funcBox().getText(), "0 )  C(-1)  REC.1");

    editor.switchToMode (proTools);
    ASSERT_NE (editor.content.findSelectedControl(), nullptr);
    EXPECT_EQ (editor.content.findSelectedControl()->cid, 1);
    EXPECT_EQ (funcBox().getText(), "REC.1");
    EXPECT_FALSE (funcBox().isEnabled());

    editor.switchToMode (usrdefHui);
    EXPECT_EQ (funcBox().getText(), "88) REC1");
    EXPECT_TRUE (funcBox().isEnabled());
}

TEST_F (AttributeBoxEdits, ProtocolBoxAndModeBoxBringBackTheLastUserDefinedMode)
{
    auto currentMode = [] { return (int) VtrPlus::singletonHolder.get()->getCurrentCtMode(); };

    editor.choose (editor.modes(), 4);
    EXPECT_EQ (currentMode(), usrdefMcp);

    editor.choose (editor.protocols(), 2);
    EXPECT_EQ (currentMode(), usrdefHui);
    EXPECT_EQ (g_LasPtcl4Usdf, 1);
    EXPECT_EQ (editor.label (EditorUnderTest::msgTypeLabel).getText(), "Value1");

    editor.choose (editor.modes(), 1);
    EXPECT_EQ (currentMode(), mackie);
    EXPECT_FALSE (editor.protocols().isEnabled());

    editor.choose (editor.modes(), 4);
    EXPECT_EQ (currentMode(), usrdefHui);
    EXPECT_EQ (editor.protocols().getSelectedId(), 2);

    editor.choose (editor.protocols(), 1);
    EXPECT_EQ (currentMode(), usrdefMcp);
    EXPECT_EQ (g_LasPtcl4Usdf, 0);
}

//==============================================================================
TEST_F (AttributeBoxEdits, ChangesAreIgnoredWithoutASelectedControl)
{
    editor.switchToMode (usrdefMcp);
    select (1);
    editor.content.clearToggleStates();

    const auto before = gui_test::slotRecordOf (usrdefMcp, 25);
    editor.choose (msgTypeBox(), 2);
    editor.choose (chanBox(), 5);

    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 25), before);
    EXPECT_EQ (editor.controlTree (1)["type"].toString(), "note");
}

TEST_F (AttributeBoxEdits, TouchSensorCanBeSetToSendNothing)
{
    editor.switchToMode (usrdefMcp);
    select (41);
    editor.choose (msgTypeBox(), 4);

    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 81), (std::array<int, 4> { 0, 0x00, 104, 0x7F }));
    EXPECT_EQ (editor.controlTree (41)["type"].toString(), "null");
    EXPECT_EQ (editor.buttonFor (41)->attachedLabel->getText(), "");

    // Selected again, the box still shows what the control sends.
    select (1);
    select (41);
    EXPECT_EQ (msgTypeBox().getText(), "4) null");
}

TEST_F (AttributeBoxEdits, MessageTypeAndChannelRewriteTheStatusByte)
{
    editor.switchToMode (usrdefMcp);
    select (1);
    editor.choose (msgTypeBox(), 2);
    editor.choose (chanBox(), 16);

    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 25)[0], 11);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 25)[1], 0xBF);
    EXPECT_EQ (editor.controlTree (1)["type"].toString(), "cc");
    EXPECT_EQ (intOf (editor.controlTree (1), "chan"), 16);
    EXPECT_EQ (funcBox().getItemText (7), "7 ) Volume*(GM)");
    EXPECT_EQ (funcBox().getSelectedItemIndex(), 0);
    EXPECT_EQ (editor.buttonFor (1)->attachedLabel->getText(), "CC0");

    chooseFunction (20);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 25), (std::array<int, 4> { 11, 0xBF, 20, 127 }));
    EXPECT_EQ (intOf (editor.controlTree (1), "value"), 20);
    EXPECT_EQ (intOf (editor.controlTree (1), "velo"), 127);
}

TEST_F (AttributeBoxEdits, KnobRotationPatternIsRememberedPerControllerGroup)
{
    editor.switchToMode (usrdefMcp);
    select (65);
    ASSERT_TRUE (rotationBox().isVisible());
    EXPECT_EQ (rotationBox().getSelectedItemIndex(), 0);

    auto dataTwo = [] { return gui_test::slotRecordOf (usrdefMcp, 71)[3]; };

    editor.choose (rotationBox(), 2);
    EXPECT_EQ (dataTwo(), 127);
    EXPECT_EQ (intOf (editor.controlTree (65), "velo"), 127);
    EXPECT_EQ (knobVelos[0][0], 127);

    chooseFunction (30);
    editor.choose (rotationBox(), 1);
    EXPECT_EQ (dataTwo(), 64);
    EXPECT_EQ (knobVelos[0][1], 64);

    // Each controller group takes back the pattern last used with it.
    chooseFunction (16);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 71), (std::array<int, 4> { 11, 0xB0, 16, 127 }));
    EXPECT_EQ (rotationBox().getSelectedItemIndex(), 1);

    chooseFunction (30);
    EXPECT_EQ (dataTwo(), 64);
    EXPECT_EQ (intOf (editor.controlTree (65), "velo"), 64);
    EXPECT_EQ (rotationBox().getSelectedItemIndex(), 0);

    // A knob that sends a note has no rotation pattern.
    editor.choose (msgTypeBox(), 1);
    EXPECT_FALSE (rotationBox().isVisible());
    EXPECT_FALSE (editor.label (EditorUnderTest::rotationLabel).isVisible());
}

TEST_F (AttributeBoxEdits, JogEditsBothHalvesInTheNormalZoomStateOnly)
{
    editor.switchToMode (usrdefMcp);
    select (73);
    chooseFunction (61);

    for (const auto slot : { 80, 79 })
    {
        SCOPED_TRACE ("slot " + std::to_string (slot));
        EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, slot)[2], 61);
        EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, slot)[3], knobVelos[8][1]);
    }

    for (const auto cid : { 73, 74 })
    {
        EXPECT_EQ (intOf (editor.controlTree (cid), "value"), 61);
        EXPECT_EQ (intOf (editor.controlTree (cid), "velo"), knobVelos[8][1]);
    }

    select (74);
    editor.choose (chanBox(), 3);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 80)[1], 0xB2);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 79)[1], 0xB2);

    // Zoom state 1: only the selected half (control 87, slot 70) changes.
    const auto slot69 = gui_test::slotRecordOf (usrdefMcp, 69);
    const auto slot79 = gui_test::slotRecordOf (usrdefMcp, 79);
    select (75);
    ASSERT_EQ (isZoomNorLR, 1);
    ASSERT_EQ (editor.content.findSelectedControl(), editor.controls().jogButtonR);
    EXPECT_EQ (editor.controls().jogButtonR->cid, 87);
    EXPECT_FALSE (rotationBox().isVisible());

    chooseFunction (50);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 70)[2], 50);
    EXPECT_EQ (intOf (editor.controlTree (87), "value"), 50);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 69), slot69);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 79), slot79);
    EXPECT_EQ (intOf (editor.controlTree (74), "value"), 61);
}

TEST_F (AttributeBoxEdits, AfterAZoomClickTheBoxesEditTheJogHalfNotTheZoomButton)
{
    editor.switchToMode (usrdefMcp);
    const auto zoomSlot = gui_test::slotRecordOf (usrdefMcp, 47);

    select (75);
    EXPECT_TRUE (editor.controls().zoomButton1->getToggleState());
    ASSERT_EQ (editor.content.findSelectedControl(), editor.controls().jogButtonL);
    EXPECT_EQ (editor.controls().jogButtonL->cid, 86);

    editor.choose (msgTypeBox(), 2);
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 69)[0], 11);
    EXPECT_EQ (editor.controlTree (86)["type"].toString(), "cc");
    EXPECT_EQ (gui_test::slotRecordOf (usrdefMcp, 47), zoomSlot);
    EXPECT_EQ (editor.controlTree (75)["type"].toString(), "note");

    // A rebinding (here the reset key) keeps the half on the zoom state's control.
    editor.content.keyPressed (juce::KeyPress ('R'));
    EXPECT_EQ (editor.controls().jogButtonL->cid, 86);
    editor.choose (chanBox(), 4);
    EXPECT_EQ (intOf (editor.controlTree (86), "chan"), 4);
    EXPECT_EQ (intOf (editor.controlTree (73), "chan"), 1);
}

//==============================================================================
TEST_F (AttributeBoxEdits, HuiButtonValue2WithoutAFunctionShowsTheNamelessOne)
{
    editor.switchToMode (usrdefHui);
    select (55);
    ASSERT_EQ (intOf (editor.controlTree (55), "value1"), 13);

    editor.choose (chanBox(), 7);
    EXPECT_EQ (intOf (editor.controlTree (55), "value2"), 0x46);
    EXPECT_EQ (intOf (editor.controlTree (55), "value"), 0);
    EXPECT_EQ (HuiBnPairs[slotIndexForControl (CtMode (usrdefHui), CtKind (0), 55)][1], 0x46);
    EXPECT_EQ (funcBox().getSelectedItemIndex(), 0);
    EXPECT_EQ (chanBox().getText(), "6) 0x46");
}

TEST_F (AttributeBoxEdits, HuiEditsWriteBothBytesAndRefillTheValueBoxes)
{
    editor.switchToMode (usrdefHui);

    select (78);
    editor.choose (funcBox(), 12);   // position 11: PAN.3, pair (64, 2)
    EXPECT_EQ (intOf (editor.controlTree (78), "value1"), 64);
    EXPECT_EQ (intOf (editor.controlTree (78), "value2"), 2);
    EXPECT_EQ (intOf (editor.controlTree (78), "value"), 11);
    EXPECT_EQ (HuiFdknPairs[1][0], 64);
    EXPECT_EQ (HuiFdknPairs[1][1], 2);
    EXPECT_EQ (msgTypeBox().getSelectedItemIndex(), 1);
    EXPECT_EQ (chanBox().getSelectedItemIndex(), 2);

    select (1);
    editor.choose (msgTypeBox(), 6);  // zone 5 with port 7: REC6
    EXPECT_EQ (intOf (editor.controlTree (1), "value1"), 5);
    EXPECT_EQ (intOf (editor.controlTree (1), "value"), 93);
    EXPECT_EQ (funcBox().getText(), "93) REC6");
    EXPECT_EQ (editor.buttonFor (1)->attachedLabel->getText(), "REC6");

    select (65);
    editor.choose (chanBox(), 4);
    EXPECT_EQ (intOf (editor.controlTree (65), "value2"), 3);
    EXPECT_EQ (intOf (editor.controlTree (65), "value"), 3);
    EXPECT_EQ (HuiKnPairs[0][1], 3);
    EXPECT_EQ (editor.buttonFor (65)->attachedLabel->getText(), "PAN.4");

    // In this mode the two jog halves keep separate functions.
    select (74);
    editor.choose (funcBox(), 1);     // Tape Back
    EXPECT_EQ (intOf (editor.controlTree (74), "value2"), 0);
    EXPECT_EQ (HuiJogPairs[1][1], 0);

    select (73);
    editor.choose (funcBox(), 2);     // Tape Fwd
    EXPECT_EQ (intOf (editor.controlTree (73), "value2"), 64);
    EXPECT_EQ (HuiJogPairs[0][1], 64);
    EXPECT_EQ (intOf (editor.controlTree (74), "value2"), 0);
    EXPECT_EQ (HuiJogPairs[1][1], 0);
}

TEST_F (AttributeBoxEdits, HuiZoomStateBindsTheJogHalvesToTheirButtonsRows)
{
    editor.switchToMode (usrdefHui);
    select (76);
    ASSERT_EQ (isZoomNorLR, 2);
    EXPECT_EQ (editor.controls().jogButtonL->cid, 88);
    EXPECT_EQ (funcBox().getText(), "14) Up");

    chooseFunction (61);   // "Down"
    EXPECT_EQ (HuiBnPairs[67][0], 13);
    EXPECT_EQ (HuiBnPairs[67][1], 68);
    EXPECT_EQ (intOf (editor.controlTree (88), "value"), 61);
}

TEST_F (AttributeBoxEdits, ProToolsJogHalvesOfAZoomStateShowTheJogsListsOfThatState)
{
    struct Case { int zoom; bool rightHalf; int cid; const char* function; };

    const Case cases[] = {
        { 1, false, 86, "Left?" }, { 1, true, 87, "Right?" },
        { 2, false, 88, "Up?" },   { 2, true, 89, "Down?" },
    };

    editor.switchToMode (proTools);

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("zoom state " + std::to_string (c.zoom) + (c.rightHalf ? ", right half" : ", left half"));
        select (74 + c.zoom);
        ASSERT_EQ (isZoomNorLR, c.zoom);
        auto& half = *(c.rightHalf ? editor.controls().jogButtonR : editor.controls().jogButtonL);
        editor.click (half);
        ASSERT_EQ (editor.content.findSelectedControl(), &half);
        ASSERT_EQ (half.cid, c.cid);

        EXPECT_EQ (gui_test::itemTextsOf (msgTypeBox()), juce::StringArray (" 0) 0x0D"));
        EXPECT_EQ (gui_test::itemTextsOf (chanBox()), juce::StringArray (" 0) 0x00", " 1) 0x40"));
        EXPECT_EQ (gui_test::itemTextsOf (funcBox()), juce::StringArray ("Left?", "Right?", "Up?", "Down?"));
        EXPECT_EQ (funcBox().getText(), c.function);
        EXPECT_EQ (half.getButtonText(), c.function);

        for (auto* box : { &msgTypeBox(), &chanBox(), &funcBox() })
            EXPECT_FALSE (box->isEnabled());

        EXPECT_EQ (msgTypeBox().getSelectedItemIndex(), -1);
        EXPECT_EQ (chanBox().getSelectedItemIndex(), -1);

        select (74 + c.zoom);   // back to the normal state
        ASSERT_EQ (isZoomNorLR, 0);
    }
}

//==============================================================================
namespace
{
    /** A factory map of a mode with some attributes of one control replaced. */
    std::unique_ptr<juce::XmlElement> factoryMapWith (int mode, int cid, const juce::StringPairArray& attributes)
    {
        auto xml = CtMap { CtMode (mode) }.tree.createXml();

        if (auto* controls = xml->getChildByName ("controls"))
            for (auto* control : controls->getChildIterator())
                if (control->getIntAttribute ("id") == cid)
                    for (const auto& key : attributes.getAllKeys())
                        control->setAttribute (key, attributes[key]);

        return xml;
    }

    void loadThroughEditor (EditorUnderTest& editor, const juce::XmlElement& map)
    {
        const juce::TemporaryFile file (".rilo");
        map.writeTo (file.getFile());
        editor.nextChosenFile = file.getFile();
        editor.click (editor.command (EditorUnderTest::loadFileButton));
    }
}

TEST (AttributeBoxes, FilesWithValuesOutsideTheListsAreRefusedAndChangeNothing)
{
    struct Case
    {
        int mode, cid;
        std::vector<std::pair<const char*, const char*>> attributes;
    };

    const Case cases[] = {
        { usrdefHui, 1,  { { "value1", "500" }, { "value2", "200" } } },
        { usrdefHui, 78, { { "value1", "1000" }, { "value2", "40" } } },
        { usrdefHui, 65, { { "value2", "-3" } } },
        { usrdefHui, 74, { { "value2", "7" } } },
        { usrdefMcp, 1,  { { "value", "500" }, { "chan", "40" } } },
        { usrdefMcp, 1,  { { "chan", "0" } } },
        { usrdefMcp, 41, { { "value", "300" } } },
        { usrdefMcp, 77, { { "type", "bogus" }, { "value", "-1" } } },
        { usrdefMcp, 65, { { "type", "cc" }, { "velo", "100" } } },    // no rotation pattern
        { proTools,  1,  { { "value", "500" } } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (c.mode) + ", control " + std::to_string (c.cid));
        EditorUnderTest editor;
        selectControl (editor, c.cid == 74 ? 73 : c.cid);
        const auto boxesBefore = gui_test::itemTextsOf (editor.box (EditorUnderTest::funcBox));
        const auto modesBefore = VtrPlus::singletonHolder.get()->getModesTree().createCopy();

        juce::StringPairArray attributes;
        for (const auto& [key, value] : c.attributes)
            attributes.set (key, value);

        loadThroughEditor (editor, *factoryMapWith (c.mode, c.cid, attributes));

        EXPECT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), mackie);
        EXPECT_TRUE (VtrPlus::singletonHolder.get()->getModesTree().isEquivalentTo (modesBefore));
        EXPECT_EQ (editor.modes().getSelectedItemIndex(), 0);
        EXPECT_EQ (gui_test::itemTextsOf (editor.box (EditorUnderTest::funcBox)), boxesBefore);
    }
}

TEST (AttributeBoxes, AnyControlThatSendsNothingShowsTheNullItem)
{
    EditorUnderTest editor;
    loadThroughEditor (editor, *factoryMapWith (usrdefMcp, 1, [] { juce::StringPairArray a; a.set ("type", "null"); return a; }()));
    ASSERT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), usrdefMcp);

    selectControl (editor, 1);
    auto& msgTypeBox = editor.box (EditorUnderTest::msgTypeBox);
    EXPECT_EQ (msgTypeBox.getNumItems(), 4);
    EXPECT_EQ (msgTypeBox.getText(), "4) null");
    EXPECT_EQ (editor.label (EditorUnderTest::chanLabel).getText(), "Channel");

    // A control that sends something keeps the three items.
    selectControl (editor, 2);
    EXPECT_EQ (msgTypeBox.getNumItems(), 3);
    EXPECT_EQ (msgTypeBox.getText(), "1) Note");
}

TEST (AttributeBoxes, MapsThatLackControlsAreShownAndEditedWithoutHarm)
{
    struct Case { const char* what; int mode; std::function<void (juce::XmlElement&)> damage; };

    const Case cases[] = {
        { "no controls element", usrdefMcp, [] (juce::XmlElement& map) { map.deleteAllChildElements(); } },
        { "empty controls", usrdefHui, [] (juce::XmlElement& map) { map.getChildByName ("controls")->deleteAllChildElements(); } },
        { "only the first ten controls", usrdefMcp, [] (juce::XmlElement& map)
            {
                auto* controls = map.getChildByName ("controls");
                while (controls->getNumChildElements() > 10)
                    controls->removeChildElement (controls->getChildElement (10), true);
            } },
        { "no jog controls", usrdefHui, [] (juce::XmlElement& map)
            {
                auto* controls = map.getChildByName ("controls");
                for (int i = controls->getNumChildElements(); --i >= 0;)
                    if (const auto id = controls->getChildElement (i)->getIntAttribute ("id"); id == 73 || id == 74 || id >= 86)
                        controls->removeChildElement (controls->getChildElement (i), true);
            } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        EditorUnderTest editor;

        auto map = CtMap { CtMode (c.mode) }.tree.createXml();
        c.damage (*map);
        loadThroughEditor (editor, *map);

        // Every control on screen, as the user might click them, with a choice in each box.
        juce::Array<MappableButton*> buttons;
        for (const auto section : { EditorUnderTest::mixerSection, EditorUnderTest::controlSection })
            for (auto* child : editor.child (section).getChildren())
                if (auto* b = dynamic_cast<MappableButton*> (child))
                    buttons.add (b);

        for (auto* b : buttons)
        {
            editor.click (*b);

            for (const auto child : { EditorUnderTest::msgTypeBox, EditorUnderTest::chanBox,
                                      EditorUnderTest::funcBox, EditorUnderTest::rotationBox })
            {
                auto& box = editor.box (child);
                if (box.getNumItems() > 1)
                    editor.choose (box, box.getSelectedId() == 2 ? 1 : 2);
            }
        }

        editor.content.keyPressed (juce::KeyPress ('R'));
        EXPECT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), c.mode);
    }
}
