#include <gtest/gtest.h>

#include "common/SimulatedStudio.h"
#include "gui/EditorTestKit.h"

#include "Shared.h"
#include "VtrPlus.h"

using gui_test::EditorUnderTest;

namespace
{
    enum { usrdefMcp = 3, usrdefHui = 4 };

    using Record = std::array<juce::uint8, midiports::SimulatedUnit::recordSize>;
    using Records = decltype (midiports::SimulatedUnit::Transfer::records);

    /** One user action: select a control (or press a zoom button), then choose
        an item of a box; itemId 0 chooses nothing. */
    struct Edit
    {
        int cid;
        EditorUnderTest::Child box;
        int itemId;
    };

    struct Scenario
    {
        const char* name;
        int mode;
        std::vector<Edit> edits;
        std::map<int, Record> changedPositions;   // stream position 1 to 98, as the unit decodes it
    };

    const Scenario scenarios[] = {
        { "usrdef-mcp", usrdefMcp,
          {
              { 1,  EditorUnderTest::msgTypeBox, 2 },     // CC
              { 1,  EditorUnderTest::chanBox, 16 },
              { 1,  EditorUnderTest::funcBox, 21 },       // controller 20
              { 65, EditorUnderTest::rotationBox, 2 },    // Numerical
              { 41, EditorUnderTest::msgTypeBox, 4 },     // null
              { 73, EditorUnderTest::funcBox, 62 },       // controller 61 on both halves
              { 78, EditorUnderTest::chanBox, 5 },
              { 75, EditorUnderTest::funcBox, 51 },       // zoom state 1, left half (86): note 50
              { 75, EditorUnderTest::funcBox, 0 },        // back to zoom state 0
          },
          {
              { 25, { 0x0B, 0xBF, 20, 0x7F, 0, 0 } },
              { 69, { 0x09, 0x90, 50, 0x7F, 0, 0 } },
              { 71, { 0x0B, 0xB0, 16, 127, 0, 0 } },
              { 79, { 0x0B, 0xB0, 61, 127, 0, 0 } },
              { 80, { 0x0B, 0xB0, 61, 127, 0, 0 } },
              { 81, { 0x00, 0x00, 104, 0x7F, 0, 0 } },
              { 91, { 0x0E, 0xE4, 0, 0, 0, 0 } },
          } },

        { "usrdef-hui", usrdefHui,
          {
              { 1,  EditorUnderTest::msgTypeBox, 6 },     // zone 5: REC6
              { 55, EditorUnderTest::chanBox, 7 },        // port value 0x46
              { 78, EditorUnderTest::funcBox, 12 },       // PAN.3
              { 65, EditorUnderTest::chanBox, 4 },        // PAN.4
              { 74, EditorUnderTest::funcBox, 1 },        // Tape Back
              { 76, EditorUnderTest::funcBox, 15 },       // zoom state 2, lower half (89): Up
              { 76, EditorUnderTest::funcBox, 0 },        // back to zoom state 0
          },
          {
              { 25, { 0x0B, 0xB0, 0x0F, 5, 0x2F, 71 } },
              { 39, { 0x0B, 0xB0, 0x0F, 13, 0x2F, 0x46 } },
              { 67, { 0x0B, 0xB0, 0x0F, 13, 0x2F, 64 } },
              { 71, { 0x0B, 0xB0, 0x43, 0x40, 0, 0 } },
              { 79, { 0x0B, 0xB0, 0x0F, 0x0D, 0x2F, 0x00 } },
              { 91, { 0x0B, 0xB0, 0x42, 0x40, 0, 0 } },
          } },
    };

    void PrintTo (const Scenario& scenario, std::ostream* os)   { *os << scenario.name; }

    /** The stream positions (1 to 98) at which two transfers differ. */
    std::vector<int> differingPositions (const Records& a, const Records& b)
    {
        std::vector<int> positions;

        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i])
                positions.push_back ((int) i + 1);

        return positions;
    }

    struct EditorEndToEnd : public ::testing::TestWithParam<Scenario>
    {
        SimulatedStudio studio;
        gui_test::AlertRecorder alerts;
        EditorUnderTest editor;

        /** Sends the current map and gives what the controller decoded. */
        Records send()
        {
            const auto numTransfers = studio.controller.getTransfers().size();
            EXPECT_EQ (gui_test::sendThroughEditor (editor, alerts).message, "Done!");

            const auto transfers = studio.controller.getTransfers();
            EXPECT_EQ (transfers.size(), numTransfers + 1);
            EXPECT_TRUE (studio.controller.getErrors().isEmpty()) << studio.controller.getErrors().joinIntoString ("\n");

            if (transfers.size() != numTransfers + 1)
                return {};

            EXPECT_EQ (transfers.back().productId, 156);
            EXPECT_EQ (transfers.back().modeCode, 4);
            return transfers.back().records;
        }

        void apply (const Edit& edit)
        {
            ASSERT_TRUE (editor.click (edit.cid)) << "no button for control " << edit.cid;

            if (edit.itemId > 0)
                editor.choose (editor.box (edit.box), edit.itemId);
        }
    };
}

TEST_P (EditorEndToEnd, EditsSurviveSaveResetLoadAndReachTheUnit)
{
    const auto& scenario = GetParam();
    gui_test::connectThroughPicker (editor, 0);
    editor.switchToMode (scenario.mode);
    ASSERT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), scenario.mode);

    const auto factory = send();

    for (const auto& edit : scenario.edits)
        apply (edit);

    ASSERT_EQ (isZoomNorLR, 0);
    const auto edited = send();

    std::vector<int> changed;
    for (const auto& [position, record] : scenario.changedPositions)
    {
        SCOPED_TRACE ("position " + std::to_string (position));
        changed.push_back (position);
        EXPECT_EQ (edited[(size_t) position - 1], record);
    }

    EXPECT_EQ (differingPositions (edited, factory), changed);

    const juce::TemporaryFile file (".rilo");
    editor.nextChosenFile = file.getFile();
    editor.click (editor.command (EditorUnderTest::saveFileButton));
    ASSERT_TRUE (file.getFile().existsAsFile());

    editor.content.keyPressed (juce::KeyPress ('R'));
    EXPECT_EQ (differingPositions (send(), factory), std::vector<int>());

    editor.click (editor.command (EditorUnderTest::loadFileButton));
    EXPECT_EQ ((int) VtrPlus::singletonHolder.get()->getCurrentCtMode(), scenario.mode);
    EXPECT_EQ (editor.modes().getSelectedItemIndex(), 3);
    EXPECT_EQ (differingPositions (send(), edited), std::vector<int>());

    // The editor shows the loaded edit of the first control.
    const auto& first = scenario.edits.front();
    apply ({ first.cid, first.box, 0 });
    EXPECT_EQ (editor.box (first.box).getSelectedId(), first.itemId);
}

namespace
{
    std::string scenarioName (const ::testing::TestParamInfo<Scenario>& scenario)
    {
        return scenario.param.mode == usrdefMcp ? "Mcp" : "Hui";
    }
}

INSTANTIATE_TEST_SUITE_P (UserDefinedModes, EditorEndToEnd, ::testing::ValuesIn (scenarios), scenarioName);
