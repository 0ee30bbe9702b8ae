#include "Arrays.h"

//==============================================================================
unsigned char cb[100][4] {};
unsigned char lg[100][4] {};
unsigned char nd[100][4] {};
unsigned char pt[120][4] {};
unsigned char HuiBnPairs[70][2] {};
unsigned char HuiKnPairs[8][2] {};
unsigned char HuiFdknPairs[9][2] {};
unsigned char HuiJogPairs[2][2] {};
unsigned char knobVelos[9][2] {};

unsigned char (* const arrForMoid[6])[4] { cb, lg, cb, nd, cb, nullptr };

int slotForCid (int cid) noexcept
{
    if (cid == 0)                return 1;
    if (cid >= 1 && cid <= 8)    return cid + 24;
    if (cid >= 9 && cid <= 16)   return cid + 8;
    if (cid >= 17 && cid <= 24)  return cid - 8;
    if (cid >= 25 && cid <= 32)  return cid - 24;
    if (cid >= 33 && cid <= 40)  return cid + 25;
    if (cid >= 41 && cid <= 48)  return cid + 40;

    switch (cid)
    {
        case 49: return 36;
        case 50: return 35;
        case 51: return 34;
        case 52: return 33;
        case 53: return 89;
        case 54: return 40;
        case 55: case 56: case 57: return 94 - cid;
        case 58: return 41;
        case 59: return 42;
        case 60: return 44;
        case 61: return 43;
        case 62: return 46;
        case 63: return 45;
        case 64: return 66;
        case 73: return 80;
        case 74: return 79;
        case 75: return 47;
        case 76: return 48;
        case 86: return 69;
        case 87: return 70;
        case 88: return 67;
        case 89: return 68;
        default: break;
    }

    if (cid >= 65 && cid <= 72)  return cid + 6;
    if (cid >= 77 && cid <= 85)  return cid + 13;
    return cid;
}

//==============================================================================
#define NOTE_REC(n)    { 9, 0x90, n, 0x7F }
#define CTRL_REC(c)    { 11, 0xB0, c, 0x40 }
#define BEND_REC(ch)   { 14, 0xE0 + (ch) - 1, 0, 0 }

const unsigned char cbBnAttrs0[100][4]
{
    NOTE_REC (0),
    // 1-8: SEL 1-8
    NOTE_REC (24), NOTE_REC (25), NOTE_REC (26), NOTE_REC (27), NOTE_REC (28), NOTE_REC (29), NOTE_REC (30), NOTE_REC (31),
    // 9-16: MUTE 1-8
    NOTE_REC (16), NOTE_REC (17), NOTE_REC (18), NOTE_REC (19), NOTE_REC (20), NOTE_REC (21), NOTE_REC (22), NOTE_REC (23),
    // 17-24: SOLO 1-8
    NOTE_REC (8),  NOTE_REC (9),  NOTE_REC (10), NOTE_REC (11), NOTE_REC (12), NOTE_REC (13), NOTE_REC (14), NOTE_REC (15),
    // 25-32: REC 1-8
    NOTE_REC (0),  NOTE_REC (1),  NOTE_REC (2),  NOTE_REC (3),  NOTE_REC (4),  NOTE_REC (5),  NOTE_REC (6),  NOTE_REC (7),
    // 33-36: master strip SEL, MUTE, SOLO, "Lock"
    NOTE_REC (78), NOTE_REC (74), NOTE_REC (75), NOTE_REC (0),
    // 37-40: bank right, bank left, channel right, channel left
    NOTE_REC (47), NOTE_REC (46), NOTE_REC (49), NOTE_REC (48),
    // 41-46: rewind, fast forward, stop, play, loop, record
    NOTE_REC (91), NOTE_REC (92), NOTE_REC (93), NOTE_REC (94), NOTE_REC (86), NOTE_REC (95),
    // 47, 48: zoom buttons
    NOTE_REC (100), NOTE_REC (100),
    // 49-57: no control
    NOTE_REC (0), NOTE_REC (0), NOTE_REC (0), NOTE_REC (0), NOTE_REC (0), NOTE_REC (0), NOTE_REC (0), NOTE_REC (0), NOTE_REC (0),
    // 58-65: knob pushes 1-8
    NOTE_REC (32), NOTE_REC (33), NOTE_REC (34), NOTE_REC (35), NOTE_REC (36), NOTE_REC (37), NOTE_REC (38), NOTE_REC (39),
    // 66: scrub
    NOTE_REC (101),
    // 67-70: jog up, down, left, right of the zoom states
    NOTE_REC (96), NOTE_REC (97), NOTE_REC (98), NOTE_REC (99),
    // 71-78: knob rotation 1-8
    CTRL_REC (16), CTRL_REC (17), CTRL_REC (18), CTRL_REC (19), CTRL_REC (20), CTRL_REC (21), CTRL_REC (22), CTRL_REC (23),
    // 79, 80: jog halves
    CTRL_REC (60), CTRL_REC (60),
    // 81-89: fader touches 1-8, master fader touch
    NOTE_REC (104), NOTE_REC (105), NOTE_REC (106), NOTE_REC (107), NOTE_REC (108),
    NOTE_REC (109), NOTE_REC (110), NOTE_REC (111), NOTE_REC (112),
    // 90-98: faders 1-8, master fader
    BEND_REC (1), BEND_REC (2), BEND_REC (3), BEND_REC (4), BEND_REC (5), BEND_REC (6), BEND_REC (7), BEND_REC (8), BEND_REC (9),
    { 0, 0, 0, 0 }
};

#undef NOTE_REC
#undef CTRL_REC
#undef BEND_REC

//==============================================================================
#define FADER_REC(n)     { n, 0x00, 0x20 + (n), 0x00 }
#define VPOT_REC(n)      { 0x40 + (n), 0x40, 0x00, 0x00 }
#define SWITCH_REC(z, p) { 0x0F, z, 0x40 + (p), p }
#define ZONES_0_TO_7(p)  SWITCH_REC (0, p), SWITCH_REC (1, p), SWITCH_REC (2, p), SWITCH_REC (3, p), \
                         SWITCH_REC (4, p), SWITCH_REC (5, p), SWITCH_REC (6, p), SWITCH_REC (7, p)

const unsigned char protoolsMapping0[120][4]
{
    // 0-8: faders and master fader
    FADER_REC (0), FADER_REC (1), FADER_REC (2), FADER_REC (3), FADER_REC (4),
    FADER_REC (5), FADER_REC (6), FADER_REC (7), FADER_REC (8),
    // 9-16: V-pots
    VPOT_REC (0), VPOT_REC (1), VPOT_REC (2), VPOT_REC (3), VPOT_REC (4), VPOT_REC (5), VPOT_REC (6), VPOT_REC (7),
    // 17: jog wheel (controller 0D, in the form of the V-pots); 18: the empty function
    { 0x0D, 0x40, 0x00, 0x00 },
    { 0x0F, 0x1F, 0x40, 0x00 },
    // 19-66: the channel strips' switches, zones 0-7
    ZONES_0_TO_7 (7), ZONES_0_TO_7 (3), ZONES_0_TO_7 (2), ZONES_0_TO_7 (6), ZONES_0_TO_7 (5), ZONES_0_TO_7 (0),
    // 67-73
    SWITCH_REC (0x08, 0), SWITCH_REC (0x08, 1), SWITCH_REC (0x08, 2), SWITCH_REC (0x08, 3),
    SWITCH_REC (0x08, 4), SWITCH_REC (0x08, 5), SWITCH_REC (0x08, 7),
    // 74-77
    SWITCH_REC (0x09, 0), SWITCH_REC (0x09, 1), SWITCH_REC (0x09, 2), SWITCH_REC (0x09, 3),
    // 78-85
    SWITCH_REC (0x0B, 7), SWITCH_REC (0x0B, 6), SWITCH_REC (0x0B, 5), SWITCH_REC (0x0B, 4),
    SWITCH_REC (0x0B, 3), SWITCH_REC (0x0B, 2), SWITCH_REC (0x0B, 1), SWITCH_REC (0x0B, 0),
    // 86-91
    SWITCH_REC (0x0D, 0), SWITCH_REC (0x0D, 1), SWITCH_REC (0x0D, 2),
    SWITCH_REC (0x0D, 3), SWITCH_REC (0x0D, 4), SWITCH_REC (0x0D, 5),
    // 92-96
    SWITCH_REC (0x0E, 1), SWITCH_REC (0x0E, 2), SWITCH_REC (0x0E, 3), SWITCH_REC (0x0E, 4), SWITCH_REC (0x0E, 5),
    // 97-101
    SWITCH_REC (0x0F, 3), SWITCH_REC (0x0F, 4), SWITCH_REC (0x10, 2), SWITCH_REC (0x10, 3), SWITCH_REC (0x0C, 3),
    // 102-107
    SWITCH_REC (0x0A, 0), SWITCH_REC (0x0A, 1), SWITCH_REC (0x0A, 2), SWITCH_REC (0x0A, 3),
    SWITCH_REC (0x14, 0), SWITCH_REC (0x0C, 2),
    // 108-113
    SWITCH_REC (0x18, 1), SWITCH_REC (0x18, 2), SWITCH_REC (0x18, 3), SWITCH_REC (0x18, 4),
    SWITCH_REC (0x18, 5), SWITCH_REC (0x18, 7),
    // 114-118
    SWITCH_REC (0x0C, 0), SWITCH_REC (0x1B, 7), SWITCH_REC (0x1C, 1), SWITCH_REC (0x1C, 7), SWITCH_REC (0x1C, 6),
    { 0x00, 0x00, 0x00, 0x00 }
};

#undef FADER_REC
#undef VPOT_REC
#undef SWITCH_REC
#undef ZONES_0_TO_7

const unsigned char knobVelos0[9][2]
{
    { 64, 127 }, { 64, 127 }, { 64, 127 }, { 64, 127 }, { 64, 127 },
    { 64, 127 }, { 64, 127 }, { 64, 127 }, { 64, 127 }
};

//==============================================================================
const unsigned char HuiBnVaPairs0[101][2]
{
    { 29, 71 },
    // 1-15
    { 0, 64 }, { 1, 64 }, { 2, 64 }, { 3, 64 }, { 4, 64 }, { 5, 64 }, { 6, 64 }, { 7, 64 },
    { 8, 64 }, { 9, 64 }, { 10, 64 }, { 11, 64 }, { 12, 64 }, { 13, 64 }, { 20, 64 },
    // 16-23
    { 8, 65 }, { 9, 65 }, { 10, 65 }, { 11, 65 }, { 13, 65 }, { 14, 65 }, { 24, 65 }, { 28, 65 },
    // 24-40
    { 0, 66 }, { 1, 66 }, { 2, 66 }, { 3, 66 }, { 4, 66 }, { 5, 66 }, { 6, 66 }, { 7, 66 },
    { 8, 66 }, { 9, 66 }, { 10, 66 }, { 11, 66 }, { 12, 66 }, { 13, 66 }, { 14, 66 }, { 16, 66 }, { 24, 66 },
    // 41-58
    { 0, 67 }, { 1, 67 }, { 2, 67 }, { 3, 67 }, { 4, 67 }, { 5, 67 }, { 6, 67 }, { 7, 67 }, { 8, 67 },
    { 9, 67 }, { 10, 67 }, { 11, 67 }, { 12, 67 }, { 13, 67 }, { 14, 67 }, { 15, 67 }, { 16, 67 }, { 24, 67 },
    // 59-64
    { 8, 68 }, { 11, 68 }, { 13, 68 }, { 14, 68 }, { 15, 68 }, { 24, 68 },
    // 65-72
    { 0, 68 }, { 1, 68 }, { 2, 68 }, { 3, 68 }, { 4, 68 }, { 5, 68 }, { 6, 68 }, { 7, 68 },
    // 73-77
    { 8, 69 }, { 11, 69 }, { 13, 69 }, { 14, 69 }, { 24, 69 },
    // 78-85
    { 0, 65 }, { 1, 65 }, { 2, 65 }, { 3, 65 }, { 4, 65 }, { 5, 65 }, { 6, 65 }, { 7, 65 },
    // 86, 87
    { 11, 70 }, { 28, 70 },
    // 88-100
    { 0, 71 }, { 1, 71 }, { 2, 71 }, { 3, 71 }, { 4, 71 }, { 5, 71 }, { 6, 71 }, { 7, 71 }, { 8, 71 },
    { 11, 71 }, { 24, 71 }, { 27, 71 }, { 28, 71 }
};

const unsigned char HuiKnVaPairs0[8][2]
{
    { 64, 0 }, { 64, 1 }, { 64, 2 }, { 64, 3 }, { 64, 4 }, { 64, 5 }, { 64, 6 }, { 64, 7 }
};

const unsigned char HuiFdknVaPairs0[18][2]
{
    { 32, 0 }, { 32, 1 }, { 32, 2 }, { 32, 3 }, { 32, 4 }, { 32, 5 }, { 32, 6 }, { 32, 7 }, { 32, 8 },
    { 64, 0 }, { 64, 1 }, { 64, 2 }, { 64, 3 }, { 64, 4 }, { 64, 5 }, { 64, 6 }, { 64, 7 }, { 64, 8 }
};

const unsigned char HuiJogVaPairs0[2][2] { { 13, 0 }, { 13, 64 } };

//==============================================================================
const int HuiBtnMappIndex[104]
{
    78, 79, 80, 81, 82, 83, 84, 85,                                  //  0-7
    24, 25, 26, 27, 28, 29, 30, 31,                                  //  8-15
    41, 42, 43, 44, 45, 46, 47, 48,                                  // 16-23
    88, 89, 90, 91, 92, 93, 94, 95,                                  // 24-31
    10, 40, 64, 0, 51, 18, 34, 11, 21, 38, 55, 62, 56, 76, 37, 37,   // 32-47
    0, 0, 0, 0, 0, 0, 0, 0, 0,                                       // 48-56
    65, 66, 67, 68, 69, 70, 71, 72,                                  // 57-64
    75, 61, 14, 20, 54,                                              // 65-69
    0, 1, 2, 3, 4, 5, 6, 7,                                          // 70-77: knobs
    1, 0,                                                            // 78, 79: jog ids 74, 73
    1, 2, 3, 4, 5, 6, 7, 8,                                          // 80-87
    0,                                                               // 88
    0, 1, 2, 3, 4, 5, 6, 7, 8,                                       // 89-97: faders, master fader
    0, 0, 0, 0, 0, 0                                                 // 98-103
};

const int HuiKnoMappIndex[8] { 0, 1, 2, 3, 4, 5, 6, 7 };
const int HuiFadMappIndex[12] { 0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0 };
const int HuiJogMappIndex[4] { 0, 1, 0, 0 };

const int cid2BnAidHui[92]
{
    0,
    24, 25, 26, 27, 28, 29, 30, 31,                                  //  1-8
    16, 17, 18, 19, 20, 21, 22, 23,                                  //  9-16
    8, 9, 10, 11, 12, 13, 14, 15,                                    // 17-24
    0, 1, 2, 3, 4, 5, 6, 7,                                          // 25-32
    57, 58, 59, 60, 61, 62, 63, 64,                                  // 33-40
    32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44,              // 41-53
    45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56,                  // 54-65
    65, 66, 67,                                                      // 66-68
    74, 75, 70, 71,                                                  // 69-72
    79, 78,                                                          // 73, 74
    68, 69,                                                          // 75, 76
    76, 77, 72, 73,                                                  // 77-80
    80, 81, 82, 83, 84,                                              // 81-85
    69, 68, 67, 66,                                                  // 86-89
    0, 0                                                             // 90, 91
};

//==============================================================================
const juce::uint8 HuiBnV2[8] = { 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47 };
const juce::uint8 HuiFdknV1[2] = { 0x20, 0x40 };
const juce::uint8 HuiKnV1[1] = { 0x40 };
const juce::uint8 HuiJogV2[2] = { 0x00, 0x40 };

//==============================================================================
const unsigned char abletonLiveKnobValues[8] { 16, 17, 18, 19, 20, 21, 22, 23 };
const unsigned char abletonLiveFaderValues[16] { 0, 0, 0, 0, 0, 0, 0, 0, 16, 17, 18, 19, 20, 21, 22, 23 };
const unsigned char abletonLiveMasterFaderValues[2] { 0, 60 };
const unsigned char abletonLiveJogWheelValues[1] { 60 };

const unsigned char protoolsButtonIndexes[101]
{
    18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42,
    43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67,
    68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91, 92,
    93, 94, 95, 96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113,
    114, 115, 116, 117, 118
};

const unsigned char protoolsKnobIndexes[8] { 9, 10, 11, 12, 13, 14, 15, 16 };
const unsigned char protoolsFaderIndexes[16] { 0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 15, 16 };
const unsigned char protoolsMasterFaderIndexes[2] { 8, 17 };
const unsigned char protoolsJogIndexesWhenZmN = 17;
const unsigned char protoolsJogIndexesWhenZmLR[4] { 87, 89, 90, 86 };

const unsigned char protoolsButtonDefaults[24]
{
    59, 60, 61, 62, 63, 64, 65, 66,     // positions 40-47: fader touches 1-8
    18, 111, 109, 74, 18,               // 48-52: master strip, master fader touch
    102, 104, 103, 105,                 // 53-56: channel and bank buttons
    92, 93, 95, 94, 96, 97, 91          // 57-63: transport, scrub
};

//==============================================================================
void reloadMcpTable (unsigned char (&table)[100][4]) noexcept
{
    std::memcpy (table, cbBnAttrs0, 99 * sizeof (table[0]));

    // Control 52's factory note is 84, not the 78 of the factory records.
    table[33][2] = 84;
}

void reloadKnobVelos() noexcept
{
    std::memcpy (knobVelos, knobVelos0, sizeof (knobVelos));
}

void reloadMcpFamily() noexcept
{
    reloadMcpTable (cb);
    reloadMcpTable (lg);
    reloadMcpTable (nd);
    reloadKnobVelos();
}

void reloadProtoolsTable() noexcept
{
    std::memcpy (pt, protoolsMapping0, 119 * sizeof (pt[0]));
}

namespace
{
    template <size_t rows, size_t entries, size_t indexes>
    void fillPairs (unsigned char (&pairs)[rows][2], const unsigned char (&list)[entries][2],
                    const int (&defaultEntries)[indexes]) noexcept
    {
        static_assert (rows <= indexes, "every row needs a default entry");

        for (size_t row = 0; row < rows; ++row)
        {
            const auto* pair = rowAt (list, defaultEntries[row]);
            pairs[row][0] = pair[0];
            pairs[row][1] = pair[1];
        }
    }
}

void reloadHuiPairTables() noexcept
{
    fillPairs (HuiBnPairs, HuiBnVaPairs0, HuiBtnMappIndex);
    fillPairs (HuiFdknPairs, HuiFdknVaPairs0, HuiFadMappIndex);
    fillPairs (HuiKnPairs, HuiKnVaPairs0, HuiKnoMappIndex);
    fillPairs (HuiJogPairs, HuiJogVaPairs0, HuiJogMappIndex);
}

const unsigned char* factoryHuiBnPair (int row) noexcept
{
    return rowAt (HuiBnVaPairs0, tableAt (HuiBtnMappIndex, row));
}

const unsigned char* factoryHuiJogPair (int row) noexcept
{
    return rowAt (HuiJogVaPairs0, tableAt (HuiJogMappIndex, row));
}

unsigned char* huiPairRowFor (int kind, int cid) noexcept
{
    auto rowIn = [] (auto& table, int row) -> unsigned char*
    {
        return juce::isPositiveAndBelow (row, (int) std::size (table)) ? table[row] : nullptr;
    };

    switch (kind)
    {
        case 0:  return juce::isPositiveAndBelow (cid, (int) std::size (cid2BnAidHui))
                          ? rowIn (HuiBnPairs, cid2BnAidHui[cid]) : nullptr;
        case 1:  return rowIn (HuiKnPairs, cid - 65);
        case 2:  return cid == 73 || cid == 74 ? HuiJogPairs[cid - 73] : nullptr;
        case 3:
        case 4:  return rowIn (HuiFdknPairs, cid - 77);
        default: return nullptr;
    }
}
