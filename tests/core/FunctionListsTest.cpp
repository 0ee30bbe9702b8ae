#include <gtest/gtest.h>

#include <Arrays.h>
#include <Defa.h>
#include <common/FactoryImage.h>

namespace
{
    enum { mackie, logic, proTools, usrdefMcp, usrdefHui };
    enum { button, knob, jogWheel, fader, masterFader, otherKind };

    TEST (FunctionLists, SizesOfEveryListByModeKindAndZoomState)
    {
        struct SizeCase { int mode, zoomState; std::array<int, 6> rule, editor; };
        const SizeCase cases[] {
            { mackie,    0, { 128, 8, 1, 16, 2, 128 },    { 128, 128, 128, 128, 128, 128 } },
            { logic,     1, { 128, 8, 128, 16, 2, 128 },  { 128, 128, 128, 128, 128, 128 } },
            { usrdefMcp, 2, { 128, 8, 128, 16, 2, 128 },  { 128, 128, 128, 128, 128, 128 } },
            { proTools,  0, { 101, 8, 1, 16, 2, 0 },      { 101, 8, 1, 16, 2, 0 } },
            { proTools,  2, { 101, 8, 4, 16, 2, 0 },      { 101, 8, 4, 16, 2, 0 } },
            { usrdefHui, 0, { 101, 8, 2, 18, 18, 101 },   { 101, 8, 2, 18, 18, 0 } },
            { usrdefHui, 1, { 101, 8, 2, 18, 18, 101 },   { 101, 8, 2, 18, 18, 0 } }
        };

        for (const auto& c : cases)
        {
            const ScopedViewState view (c.zoomState, 0);

            for (int kind = 0; kind < 6; ++kind)
            {
                SCOPED_TRACE (juce::String (c.mode) + "/" + juce::String (c.zoomState) + "/" + juce::String (kind));
                EXPECT_EQ (Defa::nSelsInFunc (c.mode, kind), c.rule[(size_t) kind]);
                EXPECT_EQ (Defa::nSelsInFunc2 (c.mode, kind), c.editor[(size_t) kind]);
            }
        }

        EXPECT_EQ (Defa::nSelsInFunc (5, button), 0);
        EXPECT_EQ (Defa::nSelsInFunc2 (-1, button), 0);
    }

    TEST (FunctionLists, ValuesAndSearches)
    {
        struct ValueCase { int mode, kind, zoomState, position, rule, editor; };
        const ValueCase cases[] {
            { mackie, button, 0, 91, 91, 91 },     { mackie, knob, 0, 3, 19, 3 },
            { mackie, fader, 0, 9, 17, 9 },        { mackie, fader, 0, 7, 0, 7 },
            { mackie, masterFader, 0, 1, 60, 1 },  { logic, jogWheel, 0, 0, 60, 0 },
            { usrdefMcp, jogWheel, 1, 97, 97, 97 }, { mackie, otherKind, 0, 4, 0, 0 },
            { proTools, button, 0, 1, 19, 19 },    { proTools, button, 0, 100, 118, 118 },
            { proTools, knob, 0, 7, 16, 16 },      { proTools, fader, 0, 8, 9, 9 },
            { proTools, masterFader, 0, 1, 17, 17 }, { proTools, jogWheel, 0, 3, 17, 17 },
            { proTools, jogWheel, 2, 3, 86, 86 },  { proTools, jogWheel, 1, 0, 87, 87 },
            { usrdefHui, fader, 0, 11, 11, 11 },   { usrdefHui, button, 0, 100, 100, 100 }
        };

        for (const auto& c : cases)
        {
            SCOPED_TRACE (juce::String (c.mode) + "/" + juce::String (c.kind) + "/" + juce::String (c.position));
            const ScopedViewState view (c.zoomState, 0);
            EXPECT_EQ (Defa::getValue (c.mode, c.kind, c.position), c.rule);
            EXPECT_EQ (Defa::getValue2 (c.mode, c.kind, c.position), c.editor);

            if (c.mode == proTools)
            {
                EXPECT_EQ (Defa::getValueHUI (c.mode, c.kind, c.position), c.rule);
            }
        }

        struct SearchCase { int mode, kind, value, rule, editor; };
        const SearchCase searches[] {
            { usrdefHui, fader, 40, 0, -1 },   { usrdefHui, fader, 11, 11, 11 },
            { mackie, button, 200, 0, -1 },    { mackie, fader, 18, 10, 18 },
            { mackie, fader, 0, 0, 0 },        { mackie, knob, 23, 7, 23 },
            { proTools, button, 19, 1, 1 },    { proTools, fader, 8, 0, -1 },
            { proTools, masterFader, 8, 0, 0 }, { proTools, otherKind, 0, 0, -1 },
            { logic, masterFader, 60, 1, 60 }
        };

        const ScopedViewState normal (0, 0);

        for (const auto& c : searches)
        {
            SCOPED_TRACE (juce::String (c.mode) + "/" + juce::String (c.kind) + "/" + juce::String (c.value));
            EXPECT_EQ (Defa::selForval (c.mode, c.kind, c.value), c.rule);
            EXPECT_EQ (Defa::indexForvalue (c.mode, c.kind, c.value), c.rule);
            EXPECT_EQ (Defa::selForval2 (c.mode, c.kind, c.value), c.editor);
        }
    }

    TEST (FunctionLists, ProToolsListsNameTheirFunctions)
    {
        const ScopedViewState normal (0, 0);

        for (int kind = button; kind <= masterFader; ++kind)
        {
            for (int p = 0; p < Defa::nSelsInFunc2 (proTools, kind); ++p)
            {
                SCOPED_TRACE (juce::String (kind) + "/" + juce::String (p));
                const auto index = Defa::getValue2 (proTools, kind, p);
                EXPECT_LT (index, 119);
                EXPECT_EQ (Defa::getName3 (proTools, kind, p, 9), juce::String (Defa::protoolsControlNames[index]));
            }
        }

        // Every button's pro-tools index is found in the button list, at its own position.
        for (int p = 0; p < 101; ++p)
            EXPECT_EQ (Defa::selForval2 (proTools, button, Defa::getValue2 (proTools, button, p)), p);
    }

    //==============================================================================
    TEST (FunctionLists, NamesByteForByte)
    {
        Defa::fillPitchNames();

        struct NameCase { int mode, kind, zoomState, position, msgType; const char* name; };
        const NameCase cases[] {
            { mackie, button, 0, 91, 9, " G(6)  Rewind" },    { logic, button, 0, 84, 9, " C(6)  Marker" },
            { mackie, button, 0, 70, 0, "A#(4)  Undo" },      { mackie, button, 0, 62, 9, " D(4)  " },
            { usrdefMcp, fader, 0, 0, 9, " C(-1)  REC.1" },   { logic, knob, 0, 42, 9, "F#(2)   Pan/Surrnd" },
            { usrdefMcp, button, 0, 127, 9, " G(9)  " },      { mackie, button, 0, 113, 9, " F(8)  SMPTE LED" },
            { usrdefMcp, knob, 0, 7, 11, "Volume*(GM)" },      { mackie, jogWheel, 0, 121, 11, "Reset All Contorllers(GM)" },
            { mackie, fader, 0, 5, 14, "---" },                { mackie, otherKind, 0, 0, 9, "(err)" },
            { proTools, button, 0, 0, 9, "" },                 { proTools, jogWheel, 0, 0, 11, "Tape Tspt?" },
            { proTools, jogWheel, 1, 1, 11, "Right?" },        { proTools, masterFader, 0, 0, 11, "Vol.M?" },
            { proTools, button, 0, 98, 11, "Plugin Assign" },
            { usrdefHui, button, 0, 88, 11, "REC1" },          { usrdefHui, masterFader, 0, 8, 11, "VOL.M" },
            { usrdefHui, fader, 0, 17, 11, "" },               { usrdefHui, otherKind, 0, 23, 11, "PlugAsgn" },
            { usrdefHui, jogWheel, 0, 1, 9, "Tape Fwd" }
        };

        for (const auto& c : cases)
        {
            SCOPED_TRACE (juce::String (c.mode) + "/" + juce::String (c.kind) + "/" + juce::String (c.position));
            const ScopedViewState view (c.zoomState, 0);
            EXPECT_EQ (Defa::getName3 (c.mode, c.kind, c.position, c.msgType).toStdString(), std::string (c.name));
        }
    }

    TEST (FunctionLists, RuleListNamesForLabels)
    {
        struct NameCase { int mode, kind, position; const char* name; };
        const NameCase cases[] {
            { logic, button, 74, "Read/Off" }, { logic, button, 102, "User B" }, { mackie, button, 102, "Usr B" },
            { usrdefMcp, button, 83, "Shift" }, { mackie, button, 112, "Touch.M" },
            { proTools, button, 1, "REC.1" }, { proTools, fader, 15, "Pan.8" }, { usrdefHui, knob, 3, "PAN.4" }
        };

        for (const auto& c : cases)
        {
            SCOPED_TRACE (c.name);
            EXPECT_EQ (Defa::getName (c.mode, c.kind, c.position), c.name);
        }
    }

    TEST (FunctionLists, NameTablesSpotChecks)
    {
        struct RowCase { const char (*table)[40]; int row; const char* name; };
        const RowCase rows[] {
            { Defa::NOTE, 0, " C(-1)" }, { Defa::NOTE, 1, "C#(-1)" }, { Defa::NOTE, 60, " C(4)" },
            { Defa::NOTE, 127, " G(9)" }, { Defa::NOTE, 70, "A#(4)" },
            { Defa::CC, 0, "Bank MSB*(GS)" }, { Defa::CC, 3, "--" }, { Defa::CC, 19, "Gp Control #4" },
            { Defa::CC, 38, "Data Entry LSB" }, { Defa::CC, 65, "Portamento(Gs)" }, { Defa::CC, 79, "Sound Control #10" },
            { Defa::CC, 80, "GP Control #5" }, { Defa::CC, 84, "Portamento Control(GS)" }, { Defa::CC, 90, "--" },
            { Defa::CC, 101, "RPN*Parameter MSB(GM)" }, { Defa::CC, 119, "--" }, { Defa::CC, 127, "Poly Mode On" },
            { Defa::nuendoNotes, 53, "SMPTE/Beats" }, { Defa::nuendoNotes, 54, "F1" }, { Defa::nuendoNotes, 73, "" },
            { Defa::nuendoNotes, 114, "Beats LED" }, { Defa::nuendoNotes, 115, "" },
            { Defa::logicNotes, 42, " Pan/Surrnd" }, { Defa::logicNotes, 51, "" }, { Defa::logicNotes, 113, "" },
            { Defa::logicNotes, 90, "Solos" }, { Defa::cbFuncs, 101, "Scrub" },
            { Defa::protoolsControlNames, 18, "" }, { Defa::protoolsControlNames, 67, "Ctrl" },
            { Defa::protoolsControlNames, 86, "Down?" }, { Defa::protoolsControlNames, 118, "Bypass" }
        };

        for (const auto& c : rows)
        {
            SCOPED_TRACE (c.name);
            EXPECT_STREQ (c.table[c.row], c.name);
        }

        // The rows of the fixed-width tables end inside their width.
        auto endsInside = [] (const auto& table)
        {
            for (const auto& row : table)
                if (std::find (std::begin (row), std::end (row), '\0') == std::end (row))
                    return false;

            return true;
        };

        EXPECT_TRUE (endsInside (Defa::HuiBtnFuncs0));
        EXPECT_TRUE (endsInside (Defa::HuiFdknFuncs0));
        EXPECT_TRUE (endsInside (Defa::PITCH));

        Defa::fillPitchNames();

        for (const auto& row : Defa::PITCH)
            EXPECT_STREQ (row, "---");

        EXPECT_EQ (Defa::NCP[0], Defa::NOTE);
        EXPECT_EQ (Defa::NCP[2], Defa::PITCH);
        EXPECT_EQ (Defa::NCP[3], nullptr);
    }

    /** A function name without blanks, dots, question marks and case, and
        with the shorter of two spellings. */
    juce::String plainName (juce::String name)
    {
        name = name.removeCharacters (" .?").toLowerCase();

        if (name.startsWith ("tou") && ! name.startsWith ("touch"))
            return "touch" + name.substring (3);

        const std::pair<const char*, const char*> spellings[] { { "mixer", "mix" }, { "rec", "record" },
                                                                { "plugasgn", "pluginassign" } };
        for (const auto& [longer, shorter] : spellings)
            if (name == longer)
                return shorter;

        return name;
    }

    TEST (FunctionLists, HuiButtonFunctionsAgreeWithTheProToolsSwitches)
    {
        // The same HUI switch (zone, port) has the same function in both modes.
        // The direction switches are left out: their pro-tools names are the
        // uncertain ones ("Up?", "Down?", ...) and name the opposite direction.
        const juce::StringArray directions { "Up", "Down", "Left", "Right" };
        int matched = 0;

        for (int entry = 1; entry < 101; ++entry)
        {
            const auto zone = HuiBnVaPairs0[entry][0];
            const auto port = HuiBnVaPairs0[entry][1] - 0x40;

            if (directions.contains (Defa::HuiBtnFuncs0[entry]))
                continue;

            for (int index = 19; index < 119; ++index)
            {
                if (protoolsMapping0[index][1] == zone && protoolsMapping0[index][3] == port)
                {
                    SCOPED_TRACE (Defa::HuiBtnFuncs0[entry]);
                    EXPECT_EQ (plainName (Defa::HuiBtnFuncs0[entry]), plainName (Defa::protoolsControlNames[index]));
                    ++matched;
                }
            }
        }

        // Only the MON and SEL buttons sit on switches that pro-tools does not name.
        EXPECT_EQ (matched, 100 - 4 - 16);
    }

    TEST (FunctionLists, PositionsOutsideAListGiveNothing)
    {
        const ScopedViewState normal (0, 0);

        EXPECT_EQ (Defa::getValue (mackie, knob, 8), 0);
        EXPECT_EQ (Defa::getValue (proTools, button, 101), 0);
        EXPECT_EQ (Defa::getValueHUI (proTools, masterFader, -1), 0);
        EXPECT_EQ (Defa::getName3 (mackie, button, 128, 9), "");
        EXPECT_EQ (Defa::getName3 (mackie, knob, -1, 11), "");
        EXPECT_EQ (Defa::getName3 (usrdefHui, jogWheel, 2, 11), "");
        EXPECT_EQ (Defa::getName (logic, button, 200), "");
        EXPECT_EQ (Defa::getName3 (5, button, 0, 9), "");
    }
}
