#include <gtest/gtest.h>

#include <Arrays.h>
#include <Defa.h>
#include <common/FactoryImage.h>

namespace
{
    enum { mackie, logic, proTools, usrdefMcp, usrdefHui };

    /** The factory image with the view state at start. */
    class FactoryRules : public ::testing::Test
    {
    protected:
        void SetUp() override  { reloadFactoryImage(); }
        void TearDown() override  { reloadFactoryImage(); }

        ScopedViewState view { 0, 0 };
    };

    /** Calls check (run, factory properties, step) for every control of the
        runs in the mode; gives the number of controls checked. */
    template <typename Runs, typename Check>
    int checkRuns (int mode, const Runs& runs, Check&& check)
    {
        int controls = 0;

        for (const auto& r : runs)
        {
            for (int id = r.firstId; id <= r.lastId; ++id, ++controls)
            {
                SCOPED_TRACE (juce::String (mode) + ": control " + juce::String (id));
                check (r, factoryControl (mode, id), id - r.firstId);
            }
        }

        return controls;
    }

    /** A run of controls whose values count up by the steps given. */
    struct McpRun
    {
        int firstId, lastId;
        const char* type;
        int chan, value, velo;
        int chanStep = 0, valueStep = 1;
    };

    TEST_F (FactoryRules, McpModesByControl)
    {
        const McpRun runs[] {
            { 1, 8, "note", 1, 0, 127 }, { 9, 16, "note", 1, 8, 127 }, { 17, 24, "note", 1, 16, 127 },
            { 25, 32, "note", 1, 24, 127 }, { 33, 40, "note", 1, 32, 127 }, { 41, 48, "note", 1, 104, 127 },
            { 49, 49, "note", 1, 0, 127 }, { 50, 50, "note", 1, 75, 127 }, { 51, 51, "note", 1, 74, 127 },
            { 52, 52, "note", 1, 84, 127 }, { 53, 53, "note", 1, 112, 127 },
            { 54, 54, "note", 1, 48, 127 }, { 55, 55, "note", 1, 49, 127 }, { 56, 56, "note", 1, 46, 127 },
            { 57, 57, "note", 1, 47, 127 },
            { 58, 58, "note", 1, 91, 127 }, { 59, 59, "note", 1, 92, 127 }, { 60, 60, "note", 1, 94, 127 },
            { 61, 61, "note", 1, 93, 127 }, { 62, 62, "note", 1, 95, 127 }, { 63, 63, "note", 1, 86, 127 },
            { 64, 64, "note", 1, 101, 127 }, { 65, 72, "cc", 1, 16, 64 }, { 73, 74, "cc", 1, 60, 64, 0, 0 },
            { 75, 76, "note", 1, 100, 127, 0, 0 }, { 77, 84, "pitch", 1, 0, 0, 1, 0 }, { 85, 85, "pitch", 9, 0, 0 },
            { 86, 86, "note", 1, 98, 127 }, { 87, 87, "note", 1, 99, 127 }, { 88, 88, "note", 1, 96, 127 },
            { 89, 89, "note", 1, 97, 127 }
        };

        for (int mode : { mackie, logic, usrdefMcp })
        {
            const auto covered = checkRuns (mode, runs, [] (const McpRun& r, const FactoryControl& c, int step)
            {
                EXPECT_EQ (c.type, r.type);
                EXPECT_EQ (c.chan, r.chan + step * r.chanStep);
                EXPECT_EQ (c.value, r.value + step * r.valueStep);
                EXPECT_EQ (c.velo, r.velo);
                EXPECT_EQ (c.value1, 0);
                EXPECT_EQ (c.value2, 0);
            });

            EXPECT_EQ (covered, 89);
        }
    }

    TEST_F (FactoryRules, JogIdsKeepTheirOwnStateInEveryZoomState)
    {
        // 73 and 74 are the jog's normal state, 86-89 its zoom states: a
        // reset in a zoom state gives each its own factory assignment.
        struct JogCase { int mode; std::vector<int> values; const char* typeOf73; int veloOf74; };
        const JogCase cases[] {
            { mackie, { 60, 60, 98, 99, 96, 97 }, "cc", 64 },
            { proTools, { 17, 17, 87, 89, 90, 86 }, "cc", 64 },
        };

        for (const auto& c : cases)
        {
            for (int zoomState : { 0, 1, 2, 7 })
            {
                SCOPED_TRACE (juce::String (c.mode) + " in zoom state " + juce::String (zoomState));
                const ScopedViewState zoom (zoomState, 1);
                std::vector<int> values;

                for (int id : { 73, 74, 86, 87, 88, 89 })
                    values.push_back (factoryControl (c.mode, id).value);

                EXPECT_EQ (values, c.values);
                EXPECT_EQ (factoryControl (c.mode, 73).type, c.typeOf73);
                EXPECT_EQ (factoryControl (c.mode, 74).velo, c.veloOf74);
            }
        }
    }

    //==============================================================================
    /** A run of "pro-tools" controls; value1 equals value2. */
    struct ProToolsRun
    {
        int firstId, lastId, value, value1;
        int valueStep = 1, value1Step = 1;
    };

    TEST_F (FactoryRules, ProToolsByControl)
    {
        const ProToolsRun runs[] {
            { 1, 8, 19, 43 }, { 9, 16, 27, 35 }, { 17, 24, 35, 27 }, { 25, 32, 43, 19 },
            { 33, 33, 51, 92 }, { 34, 34, 52, 93 }, { 35, 35, 53, 95 }, { 36, 36, 54, 94 },
            { 37, 37, 55, 96 }, { 38, 38, 56, 97 }, { 39, 39, 57, 91 }, { 40, 40, 58, 0 },
            { 41, 48, 59, 0, 1, 0 }, { 49, 49, 18, 54 }, { 50, 50, 111, 53 }, { 51, 51, 109, 52 },
            { 52, 52, 74, 51 }, { 53, 53, 18, 0 }, { 54, 54, 102, 58 }, { 55, 55, 104, 57 },
            { 56, 56, 103, 56 }, { 57, 57, 105, 55 }, { 58, 58, 92, 59 }, { 59, 59, 93, 60 },
            { 60, 60, 95, 62 }, { 61, 61, 94, 61 }, { 62, 62, 96, 64 }, { 63, 63, 97, 63 },
            { 64, 64, 91, 0 }, { 73, 74, 17, 17, 0, 0 }, { 75, 76, 65, 65 },
            { 86, 86, 87, 0 }, { 87, 87, 89, 0 }, { 88, 88, 90, 0 }, { 89, 89, 86, 0 },
            // Knobs, faders and the master fader carry the HUI controller of their function.
            { 65, 72, 9, 0x40 }, { 77, 84, 0, 0 }, { 85, 85, 8, 8 }
        };

        const auto covered = checkRuns (proTools, runs, [] (const ProToolsRun& r, const FactoryControl& c, int step)
        {
            EXPECT_EQ (c.value, r.value + step * r.valueStep);
            EXPECT_EQ (c.value1, r.value1 + step * r.value1Step);
            EXPECT_EQ (c.value2, c.value1);
            EXPECT_EQ (c.type, "cc");

            // Knobs and faders carry the controller of their function's own record.
            const auto kind = Defa::kindForCid (r.firstId);

            if (kind == 1 || kind == 3 || kind == 4)
            {
                EXPECT_EQ (c.value1, protoolsMapping0[c.value][0]);
            }
        });

        EXPECT_EQ (covered, 89);
        EXPECT_EQ (Defa::getName (proTools, 0, Defa::indexForvalue (proTools, 0, factoryControl (proTools, 1).value)),
                   "REC.1");
    }

    //==============================================================================
    struct HuiRun
    {
        int firstId, lastId, value1, value2, value;
        const char* name;           // the entry's name, with %d for 1 + step
        int value1Step = 0, value2Step = 0, valueStep = 0;
    };

    TEST_F (FactoryRules, UsrdefHuiByControlWithTheEntryNames)
    {
        const HuiRun runs[] {
            { 1, 8, 0, 71, 88, "REC%d", 1, 0, 1 }, { 9, 16, 0, 67, 41, "SOLO%d", 1, 0, 1 },
            { 17, 24, 0, 66, 24, "MUTE%d", 1, 0, 1 }, { 25, 32, 0, 65, 78, "SEL%d", 1, 0, 1 },
            { 33, 40, 0, 68, 65, "MON.%d", 1, 0, 1 },
            { 41, 41, 9, 64, 10, "Mixer" }, { 42, 42, 24, 66, 40, "?Read" }, { 43, 43, 24, 68, 64, "?Write" },
            { 44, 44, 29, 71, 0, "" },
            { 45, 45, 10, 67, 51, "8>>" }, { 46, 46, 10, 65, 18, "<<8" }, { 47, 47, 10, 66, 34, ">1" },
            { 48, 48, 10, 64, 11, "1<" },
            { 49, 49, 14, 65, 21, "Rewind" }, { 50, 50, 14, 66, 38, "FastFwd" }, { 51, 51, 14, 67, 55, "Stop" },
            { 52, 52, 14, 68, 62, "Play" }, { 53, 53, 15, 67, 56, "Loop" }, { 54, 54, 14, 69, 76, "Rec" },
            { 55, 56, 13, 66, 37, "Zoom" }, { 57, 64, 29, 71, 0, "" },
            { 65, 72, 64, 0, 0, "PAN.%d", 0, 1, 1 },
            { 73, 73, 13, 0, 0, "Tape Back" }, { 74, 74, 13, 64, 1, "Tape Fwd" },
            { 75, 75, 13, 65, 20, "Right" }, { 76, 76, 13, 67, 54, "Left" },
            { 77, 84, 32, 0, 0, "VOL.%d", 0, 1, 1 }, { 85, 85, 32, 8, 8, "VOL.M" },
            { 86, 86, 13, 67, 54, "Left" }, { 87, 87, 13, 65, 20, "Right" }, { 88, 88, 13, 64, 14, "Up" },
            { 89, 89, 13, 68, 61, "Down" }
        };

        const auto covered = checkRuns (usrdefHui, runs, [] (const HuiRun& r, const FactoryControl& c, int step)
        {
            EXPECT_EQ (c.value1, r.value1 + step * r.value1Step);
            EXPECT_EQ (c.value2, r.value2 + step * r.value2Step);
            EXPECT_EQ (c.value, r.value + step * r.valueStep);
            EXPECT_EQ (c.type, "cc");
            EXPECT_EQ (Defa::getName3 (usrdefHui, Defa::kindForCid (r.firstId), c.value, 11),
                       juce::String (r.name).replace ("%d", juce::String (step + 1)));
        });

        EXPECT_EQ (covered, 89);
    }

    TEST_F (FactoryRules, UsrdefHuiPairsDoNotDependOnTheZoomState)
    {
        const ScopedViewState zoomed (2, 1);
        EXPECT_EQ (factoryControl (usrdefHui, 73).value2, 0);
        EXPECT_EQ (factoryControl (usrdefHui, 74).value, 1);
    }

    //==============================================================================
    TEST_F (FactoryRules, HuiModesTakeChannelAndVelocityFromTheMackieTable)
    {
        for (int mode : { proTools, usrdefHui })
        {
            for (int id = 1; id <= 89; ++id)
            {
                SCOPED_TRACE (juce::String (mode) + ": control " + juce::String (id));
                EXPECT_EQ (Defa::getMsgType (mode, id), 11);
                EXPECT_EQ (Defa::getChan (mode, id), Defa::getChan (mackie, id));
                EXPECT_EQ (Defa::getVelo (mode, id), Defa::getVelo (mackie, id));
            }
        }

        EXPECT_EQ (Defa::getChan (usrdefHui, 85), 9);
        EXPECT_EQ (Defa::getVelo (proTools, 65), 64);

        // An edit of the mackie table is seen by both HUI modes.
        cb[slotForCid (5)][1] = 0x9C;
        EXPECT_EQ (Defa::getChan (proTools, 5), 13);
        EXPECT_EQ (Defa::getChan (usrdefHui, 5), 13);
        EXPECT_EQ (Defa::getChan (logic, 5), 1);
    }

    TEST_F (FactoryRules, ReadersFollowEditsOfTheModesOwnTable)
    {
        nd[slotForCid (65)][0] = 9;
        nd[slotForCid (65)][2] = 77;
        nd[slotForCid (65)][3] = 127;

        EXPECT_EQ (Defa::getMstyStr (Defa::getMsgType (usrdefMcp, 65)), "note");
        EXPECT_EQ (Defa::factoryValue (usrdefMcp, 65), 77);
        EXPECT_EQ (Defa::getVelo (usrdefMcp, 65), 127);
        EXPECT_EQ (Defa::factoryValue (mackie, 65), 16);
    }

    TEST_F (FactoryRules, MessageTypeConversions)
    {
        struct TypeCase { int msgType; const char* slug; int selection; };
        const TypeCase cases[] { { 9, "note", 0 }, { 11, "cc", 1 }, { 14, "pitch", 2 }, { 0, "", 0 }, { 8, "", 0 } };

        for (const auto& c : cases)
        {
            SCOPED_TRACE (c.msgType);
            EXPECT_EQ (Defa::getMstyStr (c.msgType), c.slug);
            EXPECT_EQ (Defa::selForMsgType (c.msgType), c.selection);
        }

        const int types[] { 9, 11, 14, 0 };

        for (int selection = 0; selection < 4; ++selection)
            EXPECT_EQ (Defa::getMstyForSel (selection), types[selection]);

        EXPECT_EQ (Defa::getMstyForSel (4), 0);
        EXPECT_EQ (Defa::getMstyForSel (-1), 0);
    }

    TEST_F (FactoryRules, ArgumentsOutsideTheTablesReadAsNothing)
    {
        // Modes outside 0-4 have no slot table (arrForMoid[5] is null).
        for (int mode : { 5, -1 })
        {
            SCOPED_TRACE (mode);
            EXPECT_EQ (Defa::getMsgType (mode, 1), 0);
            EXPECT_EQ (Defa::getChan (mode, 1), 1);
            EXPECT_EQ (Defa::getVelo (mode, 1), 0);
            EXPECT_EQ (Defa::factoryValue (mode, 1), 0);
            EXPECT_EQ (Defa::factoryV1V2 (mode, 1, 1), 0);
        }

        // Ids whose slot is no slot read a zero record, and in "usrdef-hui"
        // the function without a name.
        for (int id : { -3, 100, 1000 })
        {
            SCOPED_TRACE (id);
            EXPECT_EQ (Defa::getMsgType (mackie, id), 0);
            EXPECT_EQ (Defa::factoryValue (logic, id), 0);
            EXPECT_EQ (Defa::getVelo (usrdefMcp, id), 0);

            const auto c = factoryControl (usrdefHui, id);
            EXPECT_EQ (c.value1, 29);
            EXPECT_EQ (c.value2, 71);
            EXPECT_EQ (c.value, 0);
        }

        EXPECT_EQ (Defa::factoryV1V2 (usrdefHui, 1, 3), 0);
    }
}
