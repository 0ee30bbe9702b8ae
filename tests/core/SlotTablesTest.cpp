#include <gtest/gtest.h>

#include <Arrays.h>
#include <common/FactoryImage.h>

#include <set>

namespace
{
    struct SlotCase
    {
        int firstId, lastId, firstSlot;
        int slotStep = 1;
    };

    TEST (SlotTables, SlotOfEveryControlIdInZoomStateZero)
    {
        const ScopedViewState normal (0, 0);

        const SlotCase cases[] {
            { 0, 0, 1 }, { 1, 8, 25 }, { 9, 16, 17 }, { 17, 24, 9 }, { 25, 32, 1 }, { 33, 40, 58 }, { 41, 48, 81 },
            { 49, 52, 36, -1 }, { 53, 53, 89 }, { 54, 54, 40 }, { 55, 57, 39, -1 }, { 58, 58, 41 },
            { 59, 59, 42 }, { 60, 60, 44 }, { 61, 61, 43 }, { 62, 62, 46 }, { 63, 63, 45 }, { 64, 64, 66 },
            { 65, 72, 71 }, { 73, 74, 80, -1 }, { 75, 76, 47 }, { 77, 85, 90 },
            { 86, 87, 69 }, { 88, 89, 67 },
            // Not control ids: the id itself comes back.
            { 90, 95, 90 }, { -3, -1, -3 }
        };

        for (const auto& c : cases)
        {
            for (int id = c.firstId; id <= c.lastId; ++id)
            {
                SCOPED_TRACE (id);
                EXPECT_EQ (slotForCid (id), c.firstSlot + (id - c.firstId) * c.slotStep);
            }
        }
    }

    TEST (SlotTables, EachControlOwnsOneSlotInEveryViewState)
    {
        // The zoom states have their own jog ids (86-89): the jog's normal
        // state keeps slots 80 and 79, so no view state moves an assignment.
        for (int zoomState : { 0, 1, 2, 3 })
        {
            for (int jogHalf : { 0, 1 })
            {
                SCOPED_TRACE (juce::String (zoomState) + "/" + juce::String (jogHalf));
                const ScopedViewState view (zoomState, jogHalf);
                EXPECT_EQ (slotForCid (73), 80);
                EXPECT_EQ (slotForCid (74), 79);

                std::map<int, std::set<int>> owners;

                for (int id = 1; id <= 89; ++id)
                    owners[slotForCid (id)].insert (id);

                for (int slot = 0; slot < 100; ++slot)
                {
                    SCOPED_TRACE (slot);
                    const bool unused = slot == 0 || slot == 99 || (slot >= 49 && slot <= 57);
                    EXPECT_EQ (owners[slot].size(), unused ? 0u : 1u);
                }
            }
        }
    }

    //==============================================================================
    TEST (SlotTables, McpReloadPatchesRecord33AndLeavesRecord99)
    {
        for (auto* table : { &cb, &lg, &nd })
        {
            std::memset (*table, 0xEE, sizeof (*table));
            reloadMcpTable (*table);

            EXPECT_EQ (std::vector<int> ((*table)[33], (*table)[33] + 4), (std::vector<int> { 9, 0x90, 84, 0x7F }));
            EXPECT_EQ (std::vector<int> ((*table)[0], (*table)[0] + 4), (std::vector<int> { 9, 0x90, 0, 0x7F }));
            EXPECT_EQ (std::vector<int> ((*table)[99], (*table)[99] + 4), (std::vector<int> (4, 0xEE)));
            EXPECT_EQ (std::memcmp ((*table)[34], cbBnAttrs0[34], 65 * 4), 0);
            EXPECT_EQ (std::memcmp ((*table)[1], cbBnAttrs0[1], 32 * 4), 0);
        }

        EXPECT_EQ (cbBnAttrs0[33][2], 78);
        reloadFactoryImage();
    }

    TEST (SlotTables, McpRecordsHaveOneOfTheThreeForms)
    {
        for (int slot = 0; slot < 99; ++slot)
        {
            SCOPED_TRACE (slot);
            const auto* r = cbBnAttrs0[slot];

            if (slot >= 90)
                EXPECT_EQ (std::vector<int> (r, r + 4), (std::vector<int> { 14, 0xE0 + slot - 90, 0, 0 }));
            else if (slot >= 71 && slot <= 80)
                EXPECT_EQ (std::vector<int> ({ r[0], r[1], r[3] }), (std::vector<int> { 11, 0xB0, 0x40 }));
            else
                EXPECT_EQ (std::vector<int> ({ r[0], r[1], r[3] }), (std::vector<int> { 9, 0x90, 0x7F }));
        }

        for (int byte = 0; byte < 4; ++byte)
            EXPECT_EQ (cbBnAttrs0[99][byte], 0);
    }

    TEST (SlotTables, ProtoolsRecordsByFunctionGroup)
    {
        std::memset (pt, 0xEE, sizeof (pt));
        reloadProtoolsTable();

        std::vector<std::array<int, 4>> expected;

        for (int n = 0; n <= 8; ++n)  expected.push_back ({ n, 0x00, 0x20 + n, 0x00 });
        for (int n = 0; n <= 7; ++n)  expected.push_back ({ 0x40 + n, 0x40, 0x00, 0x00 });
        expected.push_back ({ 0x0D, 0x40, 0x00, 0x00 });     // the jog wheel, as the V-pots
        expected.push_back ({ 0x0F, 0x1F, 0x40, 0x00 });

        // The switch records, as (zone, ports) groups in record order.
        const std::pair<std::vector<int>, std::vector<int>> switches[] {
            { { 0, 1, 2, 3, 4, 5, 6, 7 }, { 7 } }, { { 0, 1, 2, 3, 4, 5, 6, 7 }, { 3 } },
            { { 0, 1, 2, 3, 4, 5, 6, 7 }, { 2 } }, { { 0, 1, 2, 3, 4, 5, 6, 7 }, { 6 } },
            { { 0, 1, 2, 3, 4, 5, 6, 7 }, { 5 } }, { { 0, 1, 2, 3, 4, 5, 6, 7 }, { 0 } },
            { { 0x08 }, { 0, 1, 2, 3, 4, 5, 7 } }, { { 0x09 }, { 0, 1, 2, 3 } },
            { { 0x0B }, { 7, 6, 5, 4, 3, 2, 1, 0 } }, { { 0x0D }, { 0, 1, 2, 3, 4, 5 } },
            { { 0x0E }, { 1, 2, 3, 4, 5 } }, { { 0x0F }, { 3, 4 } }, { { 0x10 }, { 2, 3 } }, { { 0x0C }, { 3 } },
            { { 0x0A }, { 0, 1, 2, 3 } }, { { 0x14 }, { 0 } }, { { 0x0C }, { 2 } },
            { { 0x18 }, { 1, 2, 3, 4, 5 } }, { { 0x18 }, { 7 } }, { { 0x0C }, { 0 } }, { { 0x1B }, { 7 } },
            { { 0x1C }, { 1 } }, { { 0x1C }, { 7 } }, { { 0x1C }, { 6 } }
        };

        for (const auto& [zones, ports] : switches)
            for (auto zone : zones)
                for (auto port : ports)
                    expected.push_back ({ 0x0F, zone, 0x40 + port, port });

        ASSERT_EQ (expected.size(), 119u);

        for (int i = 0; i < 119; ++i)
        {
            SCOPED_TRACE (i);
            EXPECT_EQ ((std::array<int, 4> { pt[i][0], pt[i][1], pt[i][2], pt[i][3] }), expected[(size_t) i]);
            EXPECT_EQ (std::memcmp (protoolsMapping0[i], pt[i], 4), 0);
        }

        EXPECT_EQ (pt[119][0], 0xEE);

        for (int byte = 0; byte < 4; ++byte)
            EXPECT_EQ (protoolsMapping0[119][byte], 0);

        // The zoom switch that the zoom-button records send.
        EXPECT_EQ (pt[88][1], 0x0D);
        EXPECT_EQ (pt[88][2], 0x42);
        reloadFactoryImage();
    }

    //==============================================================================
    using Pair = std::pair<int, int>;

    Pair pairOf (const unsigned char* row)  { return { row[0], row[1] }; }

    TEST (SlotTables, HuiPairTablesAfterTheReload)
    {
        std::memset (HuiBnPairs, 0xEE, sizeof (HuiBnPairs));
        reloadHuiPairTables();

        EXPECT_EQ (pairOf (HuiBnPairs[66]), Pair (13, 68));
        EXPECT_EQ (pairOf (HuiBnPairs[67]), Pair (13, 64));
        EXPECT_EQ (pairOf (HuiBnPairs[68]), Pair (13, 65));
        EXPECT_EQ (pairOf (HuiBnPairs[69]), Pair (13, 67));
        EXPECT_EQ (pairOf (HuiJogPairs[0]), Pair (13, 0));
        EXPECT_EQ (pairOf (HuiJogPairs[1]), Pair (13, 64));

        for (int i = 0; i < 8; ++i)
            EXPECT_EQ (pairOf (HuiKnPairs[i]), Pair (64, i));

        for (int i = 0; i < 9; ++i)
            EXPECT_EQ (pairOf (HuiFdknPairs[i]), Pair (32, i));

        for (int i = 0; i < 70; ++i)
            EXPECT_EQ (pairOf (HuiBnPairs[i]), pairOf (HuiBnVaPairs0[HuiBtnMappIndex[i]])) << i;
    }

    TEST (SlotTables, HuiButtonPairsAreUniqueZonesAndPorts)
    {
        std::set<Pair> seen;

        for (int i = 0; i < 101; ++i)
        {
            SCOPED_TRACE (i);
            const auto pair = pairOf (HuiBnVaPairs0[i]);
            EXPECT_TRUE (seen.insert (pair).second);
            EXPECT_GE (pair.second, 0x40);
            EXPECT_LE (pair.second, 0x47);
        }

        EXPECT_EQ (pairOf (HuiBnVaPairs0[0]), Pair (29, 71));
    }

    TEST (SlotTables, MappingIndexesPointInsideTheirPairLists)
    {
        struct RowRange { int first, last; size_t listSize; };
        const RowRange ranges[] { { 0, 69, 101 }, { 70, 77, 8 }, { 78, 79, 2 }, { 89, 97, 18 } };

        for (const auto& r : ranges)
            for (int row = r.first; row <= r.last; ++row)
                EXPECT_LT ((size_t) HuiBtnMappIndex[row], r.listSize) << row;

        for (int id = 1; id <= 89; ++id)
        {
            if (Defa::kindForCid (id) == 0)
            {
                EXPECT_LT (cid2BnAidHui[id], 70) << id;
            }
        }

        EXPECT_EQ (cid2BnAidHui[73], 79);
        EXPECT_EQ (cid2BnAidHui[74], 78);
    }

    TEST (SlotTables, HuiButtonIndexOfEveryControlId)
    {
        const SlotCase cases[] {
            { 0, 0, 0 }, { 1, 8, 24 }, { 9, 16, 16 }, { 17, 24, 8 }, { 25, 32, 0 }, { 33, 40, 57 },
            { 41, 65, 32 }, { 66, 68, 65 }, { 69, 70, 74 }, { 71, 72, 70 }, { 73, 74, 79, -1 },
            { 75, 76, 68 }, { 77, 78, 76 }, { 79, 80, 72 }, { 81, 85, 80 }, { 86, 89, 69, -1 }, { 90, 91, 0, 0 }
        };

        for (const auto& c : cases)
            for (int id = c.firstId; id <= c.lastId; ++id)
                EXPECT_EQ (cid2BnAidHui[id], c.firstSlot + (id - c.firstId) * c.slotStep) << id;
    }

    TEST (SlotTables, KnobVelosReloadAndModeTables)
    {
        std::memset (knobVelos, 0, sizeof (knobVelos));
        reloadKnobVelos();

        for (const auto& row : knobVelos)
            EXPECT_EQ (pairOf (row), Pair (64, 127));

        EXPECT_EQ (arrForMoid[0], cb);
        EXPECT_EQ (arrForMoid[1], lg);
        EXPECT_EQ (arrForMoid[2], cb);
        EXPECT_EQ (arrForMoid[3], nd);
        EXPECT_EQ (arrForMoid[4], cb);
        EXPECT_EQ (arrForMoid[5], nullptr);
    }

    TEST (SlotTables, CheckedLookupsStayInsideTheirTables)
    {
        EXPECT_EQ (tableAt (protoolsKnobIndexes, 7), 16);
        EXPECT_EQ (tableAt (protoolsKnobIndexes, 8), 0);
        EXPECT_EQ (tableAt (protoolsKnobIndexes, -1), 0);
        EXPECT_EQ (tableAt (cid2BnAidHui, 92, -7), -7);
        EXPECT_EQ (rowAt (HuiJogVaPairs0, 1)[1], 64);
        EXPECT_EQ (pairOf (rowAt (HuiJogVaPairs0, 2)), Pair (0, 0));
        EXPECT_EQ (rowAt (cbBnAttrs0, 100)[0], 0);
    }
}
