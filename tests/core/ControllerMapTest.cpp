#include <gtest/gtest.h>

#include "Arrays.h"
#include "ControllerMap.h"

namespace
{
    const char* const modeSlugs[] = { "mackie", "logic", "pro-tools", "usrdef-mcp", "usrdef-hui" };

    /** The factory properties of one run of controls, as the factory tables
        list them; a step of 1 counts the value up along the run. */
    struct McpRun { int first, last; const char* type; int chan, chanStep, value, valueStep, velo; };
    struct HuiRun { int first, last, v1, v1Step, v2, v2Step, value, valueStep; };

    // "mackie", "logic" and "usrdef-mcp" alike, in every zoom state: 73 and 74
    // are the jog's normal state, 86-89 its zoom states.
    const McpRun mcpRuns[] = {
        {  1,  8, "note", 1, 0,   0, 1, 127 }, {  9, 16, "note", 1, 0,   8, 1, 127 },
        { 17, 24, "note", 1, 0,  16, 1, 127 }, { 25, 32, "note", 1, 0,  24, 1, 127 },
        { 33, 40, "note", 1, 0,  32, 1, 127 }, { 41, 48, "note", 1, 0, 104, 1, 127 },
        { 49, 49, "note", 1, 0,   0, 0, 127 }, { 50, 50, "note", 1, 0,  75, 0, 127 },
        { 51, 51, "note", 1, 0,  74, 0, 127 }, { 52, 52, "note", 1, 0,  84, 0, 127 },
        { 53, 53, "note", 1, 0, 112, 0, 127 }, { 54, 55, "note", 1, 0,  48, 1, 127 },
        { 56, 57, "note", 1, 0,  46, 1, 127 }, { 58, 59, "note", 1, 0,  91, 1, 127 },
        { 60, 60, "note", 1, 0,  94, 0, 127 }, { 61, 61, "note", 1, 0,  93, 0, 127 },
        { 62, 62, "note", 1, 0,  95, 0, 127 }, { 63, 63, "note", 1, 0,  86, 0, 127 },
        { 64, 64, "note", 1, 0, 101, 0, 127 }, { 65, 72, "cc",   1, 0,  16, 1,  64 },
        { 73, 74, "cc",   1, 0,  60, 0,  64 }, { 75, 76, "note", 1, 0, 100, 0, 127 },
        { 77, 85, "pitch", 1, 1,  0, 0,   0 }, { 86, 87, "note", 1, 0,  98, 1, 127 },
        { 88, 89, "note", 1, 0,  96, 1, 127 },
    };

    // "pro-tools": value, then value1 (= value2); -1 where value1 is not fixed by the tables.
    struct ProToolsRow { int id, value, v1; };

    std::vector<ProToolsRow> proToolsRows()
    {
        std::vector<ProToolsRow> rows;

        // From the first id on: the values, and the value1s (a single one for all).
        const auto add = [&rows] (int first, const std::vector<int>& values, const std::vector<int>& v1s)
        {
            for (size_t i = 0; i < values.size(); ++i)
                rows.push_back ({ first + (int) i, values[i], v1s.size() == 1 ? v1s[0] : v1s[i] });
        };

        const auto from = [] (int start, int n)
        {
            std::vector<int> v;

            for (int i = 0; i < n; ++i)
                v.push_back (start + i);

            return v;
        };


        add (1, from (19, 8), from (43, 8));
        add (9, from (27, 8), from (35, 8));
        add (17, from (35, 8), from (27, 8));
        add (25, from (43, 8), from (19, 8));
        add (33, from (51, 7), { 92, 93, 95, 94, 96, 97, 91 });
        add (40, { 58 }, { 0 });
        add (41, from (59, 8), { 0 });
        add (49, { 18, 111, 109, 74, 18 }, { 54, 53, 52, 51, 0 });
        add (54, { 102, 104, 103, 105 }, { 58, 57, 56, 55 });
        add (58, { 92, 93, 95, 94, 96, 97 }, { 59, 60, 62, 61, 64, 63 });
        add (64, { 91 }, { 0 });
        add (65, from (9, 8), { -1 });
        add (73, { 17, 17 }, { 17 });
        add (75, { 65, 66 }, { 65, 66 });
        add (77, from (0, 9), { -1 });
        add (86, { 87, 89, 90, 86 }, { 0 });
        return rows;
    }

    const HuiRun usrdefHuiRuns[] = {
        {  1,  8,  0, 1, 71, 0, 88, 1 }, {  9, 16,  0, 1, 67, 0, 41, 1 },
        { 17, 24,  0, 1, 66, 0, 24, 1 }, { 25, 32,  0, 1, 65, 0, 78, 1 },
        { 33, 40,  0, 1, 68, 0, 65, 1 }, { 41, 41,  9, 0, 64, 0, 10, 0 },
        { 42, 42, 24, 0, 66, 0, 40, 0 }, { 43, 43, 24, 0, 68, 0, 64, 0 },
        { 44, 44, 29, 0, 71, 0,  0, 0 }, { 45, 45, 10, 0, 67, 0, 51, 0 },
        { 46, 46, 10, 0, 65, 0, 18, 0 }, { 47, 47, 10, 0, 66, 0, 34, 0 },
        { 48, 48, 10, 0, 64, 0, 11, 0 }, { 49, 49, 14, 0, 65, 0, 21, 0 },
        { 50, 50, 14, 0, 66, 0, 38, 0 }, { 51, 51, 14, 0, 67, 0, 55, 0 },
        { 52, 52, 14, 0, 68, 0, 62, 0 }, { 53, 53, 15, 0, 67, 0, 56, 0 },
        { 54, 54, 14, 0, 69, 0, 76, 0 }, { 55, 56, 13, 0, 66, 0, 37, 0 },
        { 57, 64, 29, 0, 71, 0,  0, 0 }, { 65, 72, 64, 0,  0, 1,  0, 1 },
        { 73, 73, 13, 0,  0, 0,  0, 0 }, { 74, 74, 13, 0, 64, 0,  1, 0 },
        { 75, 75, 13, 0, 65, 0, 20, 0 }, { 76, 76, 13, 0, 67, 0, 54, 0 },
        { 77, 85, 32, 0,  0, 1,  0, 1 }, { 86, 86, 13, 0, 67, 0, 54, 0 },
        { 87, 87, 13, 0, 65, 0, 20, 0 }, { 88, 88, 13, 0, 64, 0, 14, 0 },
        { 89, 89, 13, 0, 68, 0, 61, 0 },
    };

    /** type, chan, value and velo of every id in an MCP-family map. */
    std::map<int, McpRun> mcpExpectation()
    {
        std::map<int, McpRun> byId;

        for (const auto& run : mcpRuns)
            for (int id = run.first; id <= run.last; ++id)
                byId[id] = { id, id, run.type, run.chan + run.chanStep * (id - run.first),
                             0, run.value + run.valueStep * (id - run.first), 0, run.velo };

        return byId;
    }

    std::vector<CtMap> buildAllModes()
    {
        std::vector<CtMap> maps;

        for (int mode = 0; mode < 5; ++mode)
            maps.emplace_back (CtMode (mode));

        return maps;
    }

    struct ZoomState
    {
        explicit ZoomState (int z)  { isZoomNorLR = z; }
        ~ZoomState()                { isZoomNorLR = 0; }
    };
}

TEST (CtMapFactory, EveryModeInEveryZoomState)
{
    for (const int zoom : { 0, 1, 2 })
    {
        const ZoomState zoomState (zoom);
        const auto maps = buildAllModes();
        const auto mcp = mcpExpectation();
        const auto proTools = proToolsRows();

        for (int mode = 0; mode < 5; ++mode)
        {
            SCOPED_TRACE (juce::String (modeSlugs[mode]) + " in zoom state " + juce::String (zoom));
            const auto& map = maps[(size_t) mode];
            const auto isHui = mode == 2 || mode == 4;

            EXPECT_EQ (map.tree.getType().toString(), "map");
            EXPECT_EQ (map.tree[Tags::mode].toString(), modeSlugs[mode]);
            EXPECT_EQ (map.tree[Tags::name].toString(),
                       juce::StringArray ({ "Mackie", "Logic Pro", "Pro Tools", "User Define", "User Define" })[mode]);
            EXPECT_EQ ((int) map.tree[Tags::ptcl], isHui ? 1 : 0);
            ASSERT_EQ (map.tree.getChildWithName (Tags::controls).getNumChildren(), 89);

            for (int id = 1; id <= 89; ++id)
            {
                SCOPED_TRACE ("control " + juce::String (id));
                const auto control = map.getControl (id - 1);
                const auto& e = mcp.at (id);
                EXPECT_EQ ((int) control[Tags::cid], id);
                EXPECT_EQ ((int) control[Tags::chan], e.chan);
                EXPECT_EQ ((int) control[Tags::velo], e.velo);
                EXPECT_EQ (control[Tags::type].toString(), isHui ? "cc" : e.type);

                if (! isHui)
                {
                    EXPECT_EQ ((int) control[Tags::value], e.value);
                }
            }

            if (mode == 2)
            {
                for (const auto& row : proTools)
                {
                    SCOPED_TRACE ("control " + juce::String (row.id));
                    const auto control = map.getControlById (row.id);
                    EXPECT_EQ ((int) control[Tags::value], row.value);

                    if (row.v1 >= 0)
                    {
                        EXPECT_EQ ((int) control[Tags::v1], row.v1);
                        EXPECT_EQ ((int) control[Tags::v2], row.v1);
                    }
                }
            }

            if (mode == 4)
            {
                for (const auto& run : usrdefHuiRuns)
                {
                    for (int id = run.first; id <= run.last; ++id)
                    {
                        SCOPED_TRACE ("control " + juce::String (id));
                        const auto control = map.getControlById (id);
                        const auto n = id - run.first;
                        EXPECT_EQ ((int) control[Tags::v1], run.v1 + run.v1Step * n);
                        EXPECT_EQ ((int) control[Tags::v2], run.v2 + run.v2Step * n);
                        EXPECT_EQ ((int) control[Tags::value], run.value + run.valueStep * n);
                    }
                }
            }
        }
    }
}

TEST (CtMapFactory, KindsAndIdsOfTheSkeleton)
{
    const CtMap map (CtMode (1));
    const char* const kinds[] = { "button", "knob", "jog-wheel", "fader", "master-fader" };

    for (int id = 1; id <= 89; ++id)
    {
        const auto expectedKind = id >= 65 && id <= 72 ? 1 : id == 73 || id == 74 ? 2 : id >= 77 && id <= 84 ? 3 : id == 85 ? 4 : 0;
        EXPECT_EQ (map.getControl (id - 1)[Tags::kind].toString(), kinds[expectedKind]) << id;
    }
}

TEST (CtMapFactory, BuildingAnMcpMapReloadsAllThreeTablesAndPatchesSlot33)
{
    buildAllModes();
    cb[5][2] = lg[5][2] = nd[5][2] = 1;
    knobVelos[2][0] = 3;
    nd[99][0] = 7;

    const CtMap logic (CtMode (1));

    for (auto* table : { cb, lg, nd })
    {
        EXPECT_EQ (table[5][2], 28);
        EXPECT_EQ (table[33][2], 84);
        EXPECT_EQ (table[0][0], 9);
        EXPECT_EQ (table[0][3], 0x7f);
    }

    EXPECT_EQ (knobVelos[2][0], 64);
    EXPECT_EQ (nd[99][0], 7);   // slot 99 belongs to no control
    nd[99][0] = 0;
}

TEST (CtMapReset, KeepsTheUserMcpEditsUnlessItIsThatMap)
{
    auto maps = buildAllModes();
    auto& usrdefMcp = maps[3];

    const auto editUserMcp = [&]
    {
        nd[slotForCid (65)][3] = 127;
        knobVelos[0][0] = 127;
        usrdefMcp.getControlById (65).setProperty (Tags::velo, 127, nullptr);
    };

    for (const int resetMode : { 0, 1 })
    {
        SCOPED_TRACE (modeSlugs[resetMode]);
        editUserMcp();
        arrForMoid[resetMode][1][2] = 99;
        maps[(size_t) resetMode].getControlById (25).setProperty (Tags::value, 99, nullptr);

        std::vector<juce::ValueTree> before;
        for (const auto& m : maps)
            before.push_back (m.tree.createCopy());

        maps[(size_t) resetMode].reset();

        EXPECT_EQ (arrForMoid[resetMode][1][2], 24);
        EXPECT_EQ ((int) maps[(size_t) resetMode].getControlById (25)[Tags::value], 24);
        EXPECT_EQ (nd[slotForCid (65)][3], 127);
        EXPECT_EQ (knobVelos[0][0], 127);

        for (int mode = 0; mode < 5; ++mode)
        {
            if (mode != resetMode)
            {
                EXPECT_TRUE (maps[(size_t) mode].tree.isEquivalentTo (before[(size_t) mode])) << modeSlugs[mode];
            }
        }
    }

    usrdefMcp.reset();
    EXPECT_EQ (nd[slotForCid (65)][3], 64);
    EXPECT_EQ (knobVelos[0][0], 64);
    EXPECT_EQ ((int) usrdefMcp.getControlById (65)[Tags::velo], 64);
}

TEST (CtMapReset, ProToolsTouchesOnlyItsTableAndItsMap)
{
    auto maps = buildAllModes();
    pt[19][1] = 0x55;
    cb[1][2] = 99;
    HuiBnPairs[0][0] = 99;
    const auto mackie = maps[0].tree.createCopy();

    maps[2].reset();

    EXPECT_EQ (pt[19][1], 0x00);
    EXPECT_EQ (cb[1][2], 99);
    EXPECT_EQ (HuiBnPairs[0][0], 99);
    EXPECT_TRUE (maps[0].tree.isEquivalentTo (mackie));
    maps[0].reset();
    maps[4].reset();
}

TEST (CtMapReset, TwiceIsOnce)
{
    for (int mode = 0; mode < 5; ++mode)
    {
        SCOPED_TRACE (modeSlugs[mode]);
        CtMap map { CtMode (mode) };
        map.getControlById (30).setProperty (Tags::chan, 16, nullptr);
        map.reset();
        const auto once = map.tree.createCopy();
        map.reset();
        EXPECT_TRUE (map.tree.isEquivalentTo (once));
        EXPECT_EQ ((int) map.getControlById (30)[Tags::chan], 1);
    }
}

TEST (CtMapReset, GivesTheJogItsNormalStateInAZoomState)
{
    CtMap mackie (CtMode (0));
    mackie.getControlById (74).setProperty (Tags::value, 5, nullptr);
    const ZoomState zoomState (2);
    mackie.reset();

    EXPECT_EQ ((int) mackie.getControlById (73)[Tags::value], 60);
    EXPECT_EQ ((int) mackie.getControlById (74)[Tags::value], 60);
    EXPECT_EQ (mackie.getControlById (74)[Tags::type].toString(), "cc");
    EXPECT_EQ ((int) mackie.getControlById (74)[Tags::velo], 64);
    EXPECT_EQ ((int) mackie.getControlById (88)[Tags::value], 96);
}

TEST (CtMapHandles, ShareOneTree)
{
    CtMap first (CtMode (3));
    auto second = std::make_unique<CtMap> (first.tree);

    second->getControlById (10).setProperty (Tags::chan, 5, nullptr);
    EXPECT_EQ ((int) first.getControlById (10)[Tags::chan], 5);

    second.reset();
    EXPECT_EQ (first.getControl (88)[Tags::cid].toString(), "89");
    EXPECT_EQ (first.getCtMode(), 3);
}

TEST (CtMapHandles, FindControlsByValue)
{
    const CtMap map (CtMode (0));
    EXPECT_FALSE (map.getControlById (0).isValid());
    EXPECT_FALSE (map.getControlById (90).isValid());
    EXPECT_FALSE (map.getControl (89).isValid());
    EXPECT_FALSE (map.getControl (-1).isValid());

    // A map read from a file holds text.
    auto fromFile = juce::ValueTree::fromXml (R"(<map mode=" logic "><controls>
        <control id="05"/><control id="6"/></controls></map>)");
    const CtMap loaded (fromFile);
    EXPECT_FALSE (loaded.getControlById (5).isValid());
    EXPECT_TRUE (loaded.getControlById (6).isValid());
    EXPECT_EQ (loaded.getCtMode(), 1);
}

TEST (CtMapHandles, AnInvalidTreeIsHarmless)
{
    CtMap nothing { juce::ValueTree() };
    EXPECT_EQ (nothing.getCtMode(), 0);
    EXPECT_FALSE (nothing.getControl (0).isValid());
    EXPECT_FALSE (nothing.getControlById (1).isValid());
    nothing.setDefaultValues();
    nothing.addMissingProperties();
    EXPECT_FALSE (nothing.tree.isValid());

    // Fewer controls than 89: only those present are written.
    CtMap few { juce::ValueTree::fromXml (R"(<map mode="logic"><controls><control id="1"/></controls></map>)") };
    few.setDefaultValues();
    EXPECT_EQ (few.getControl (0)[Tags::type].toString(), "note");
    EXPECT_EQ (few.tree.getChildWithName (Tags::controls).getNumChildren(), 1);
    buildAllModes();
}
